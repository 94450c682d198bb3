#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli_support.hpp"
#include "map_picture.hpp"

namespace zarv::cli {
namespace {

struct DrawArgs {
  std::string input;
  std::string output_dir;
  unsigned cell = 16;
};

// Draws every map of a dungeon as DIR/map-NN.png, from the editor-project
// document of the file.
int run_draw(const DrawArgs& args) {
  auto bytes = read_input(args.input);
  if (!bytes) return kExitFailed;
  ZarvBuffer document = zarv_dungeon_voproject_json(bytes->data(), bytes->size());
  if (document.error != nullptr) {
    report_error(document.error);
    zarv_buffer_free(document);
    return kExitFailed;
  }
  std::string error;
  auto plan = read_dungeon_plan({reinterpret_cast<const char*>(document.data), document.len}, error);
  zarv_buffer_free(document);
  if (!plan) {
    report_error(error);
    return kExitFailed;
  }

  const std::filesystem::path dir = args.output_dir;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    report_error("cannot create " + dir.string() + ": " + ec.message());
    return kExitFailed;
  }
  Progress progress("drawing maps", plan->maps.size());
  for (std::size_t i = 0; i < plan->maps.size(); ++i) {
    std::optional<StartMark> start;
    if (i == plan->start_map) start = StartMark{plan->start_x, plan->start_y, plan->start_dir};
    const Picture picture = draw_map(plan->maps[i], args.cell, start);
    auto png = encode_png(picture, error);
    if (!png) {
      report_error(error);
      return kExitFailed;
    }
    char name[32];
    std::snprintf(name, sizeof name, "map-%02zu.png", i);
    const std::string path = (dir / name).string();
    if (!write_output(path, *png)) return kExitFailed;
    std::printf("%s (%u x %u squares, %u x %u pixels)\n", path.c_str(), plan->maps[i].width, plan->maps[i].height,
                picture.width, picture.height);
    progress.advance(i + 1);
  }
  return kExitOk;
}

}  // namespace

void add_dungeon_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("dungeon", "Dungeon files (dungeon.dat), either byte order");
  group->require_subcommand(1);
  add_conversion(*group, dispatch, "to-json", "Convert a dungeon file to its lossless JSON document",
                 "Write the JSON here", zarv_dungeon_to_json, true);
  add_conversion(*group, dispatch, "from-json", "Convert a lossless JSON document back to the dungeon file",
                 "Write the dungeon file here", zarv_dungeon_from_json, false);
  add_conversion(*group, dispatch, "voproject",
                 "Export a dungeon file as an editor-project JSON document (maps, squares and decoded objects)",
                 "Write the JSON here", zarv_dungeon_voproject_json, true);

  auto draw = std::make_shared<DrawArgs>();
  auto* cmd = group->add_subcommand("draw", "Draw each map of a dungeon file as a PNG picture, one cell per square");
  cmd->add_option("input", draw->input, "Dungeon file, or - for standard input")->required();
  cmd->add_option("-o,--output-dir", draw->output_dir, "Directory for map-00.png, map-01.png, ...")->required();
  cmd->add_option("--cell", draw->cell, "Pixels per square side")->check(CLI::Range(1, 64))->capture_default_str();
  cmd->footer(map_legend());
  cmd->callback([&dispatch, draw] { dispatch.action = [draw] { return run_draw(*draw); }; });
}

}  // namespace zarv::cli
