#include "cli_support.hpp"

namespace zarv::cli {

void add_dungeon_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("dungeon", "Dungeon files (dungeon.dat), either byte order");
  group->require_subcommand(1);
  add_conversion(*group, dispatch, "to-json", "Convert a dungeon file to its lossless JSON document",
                 "Write the JSON here", zarv_dungeon_to_json, true);
  add_conversion(*group, dispatch, "from-json", "Convert a lossless JSON document back to the dungeon file",
                 "Write the dungeon file here", zarv_dungeon_from_json, false);
}

}  // namespace zarv::cli
