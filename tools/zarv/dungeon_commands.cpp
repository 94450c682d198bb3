#include "cli_support.hpp"

namespace zarv::cli {
namespace {

struct ConvertArgs {
  std::string input;
  std::string output;
};

using Export = ZarvBuffer (*)(const uint8_t*, size_t);

int run_export(const ConvertArgs& args, Export convert, bool text_output) {
  auto bytes = read_input(args.input);
  if (!bytes) return kExitFailed;
  return finish(convert(bytes->data(), bytes->size()), args.output, text_output);
}

void add_conversion(CLI::App& group, Dispatch& dispatch, const char* name, const char* help, const char* output_help,
                    Export convert, bool text_output) {
  auto* args = new ConvertArgs;  // lives as long as the command line
  auto* cmd = group.add_subcommand(name, help);
  add_io_options(*cmd, args->input, args->output, output_help);
  cmd->callback([&dispatch, args, convert, text_output] {
    dispatch.action = [args, convert, text_output] { return run_export(*args, convert, text_output); };
  });
}

}  // namespace

void add_dungeon_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("dungeon", "Dungeon files (dungeon.dat), either byte order");
  group->require_subcommand(1);
  add_conversion(*group, dispatch, "to-json", "Convert a dungeon file to its lossless JSON document",
                 "Write the JSON here", zarv_dungeon_to_json, true);
  add_conversion(*group, dispatch, "from-json", "Convert a lossless JSON document back to the dungeon file",
                 "Write the dungeon file here", zarv_dungeon_from_json, false);
}

}  // namespace zarv::cli
