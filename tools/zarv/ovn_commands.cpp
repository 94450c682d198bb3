#include <iostream>
#include <memory>

#include "cli_support.hpp"

namespace zarv::cli {
namespace {

// Prints "identical" or "differs" and answers with the exit status, so
// scripts can test a module with `zarv ovn roundtrip FILE && ...`.
int run_roundtrip(const std::string& input) {
  auto bytes = read_input(input);
  if (!bytes) return kExitFailed;
  ZarvBuffer verdict = zarv_ovn_roundtrip_ok(bytes->data(), bytes->size());
  if (verdict.error != nullptr) {
    report_error(verdict.error);
    zarv_buffer_free(verdict);
    return kExitFailed;
  }
  const bool identical = verdict.len == 1 && verdict.data[0] == 1;
  zarv_buffer_free(verdict);
  std::cout << (identical ? "identical" : "differs: the module does not write back byte for byte") << '\n';
  return identical ? kExitOk : kExitFailed;
}

}  // namespace

void add_ovn_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("ovn", "Hunk executables (the game's program modules)");
  group->require_subcommand(1);
  add_conversion(*group, dispatch, "info",
                 "Summarise a module as JSON: hunk count, memory sizes and whether its four checksums hold",
                 "Write the JSON here", zarv_ovn_info_json, true);

  auto input = std::make_shared<std::string>();
  auto* roundtrip = group->add_subcommand(
      "roundtrip", "Check that a module writes back byte for byte (exit 0 identical, 1 differs or unreadable)");
  roundtrip->add_option("input", *input, "Input file, or - for standard input")->required();
  roundtrip->callback([&dispatch, input] { dispatch.action = [input] { return run_roundtrip(*input); }; });
}

}  // namespace zarv::cli
