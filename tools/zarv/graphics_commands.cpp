#include "cli_support.hpp"

namespace zarv::cli {
namespace {

struct HeaderArgs {
  std::string input;
  std::string output;
};

int run_header(const HeaderArgs& args) {
  auto bytes = read_input(args.input);
  if (!bytes) return kExitFailed;
  return finish(zarv_graphics_header_json(bytes->data(), bytes->size()), args.output, true);
}

}  // namespace

void add_graphics_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("graphics", "Graphics archive (graphics.dat)");
  group->require_subcommand(1);

  static HeaderArgs header;
  auto* cmd = group->add_subcommand("header", "Summarise the archive header as JSON");
  add_io_options(*cmd, header.input, header.output, "Write the JSON here");
  cmd->callback([&dispatch] { dispatch.action = [] { return run_header(header); }; });
}

}  // namespace zarv::cli
