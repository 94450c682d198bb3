#pragma once
// Pictures of dungeon maps for a modder to see a level at a glance: one
// square cell per map square, coloured by the square's tile type, a mark
// where objects lie, and an arrow on the party's starting square pointing
// the way the party faces. The map data come from the editor-project
// document, so the tool needs nothing but the public exports.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarv::cli {

// One map as the editor-project document gives it.
struct MapGrid {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> tiles;     // column by column: square (x, y) at x * height + y
  std::vector<bool> has_objects;       // same order: a first object is listed for the square
};

struct DungeonPlan {
  unsigned start_x = 0;
  unsigned start_y = 0;
  unsigned start_dir = 0;  // 0 north (up), 1 east, 2 south, 3 west
  unsigned start_map = 0;
  std::vector<MapGrid> maps;
};

// Reads the maps and the party start from an editor-project document.
// Fails with a one-line reason when the text is not such a document.
std::optional<DungeonPlan> read_dungeon_plan(std::string_view document, std::string& error);

// An 8-bit RGB picture, rows top to bottom.
struct Picture {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgb;
};

struct StartMark {
  unsigned x = 0;
  unsigned y = 0;
  unsigned dir = 0;
};

// Draws a map with `cell` pixels per square side (1 to 64); x runs to the
// right and y down. `start` is drawn when given and inside the map.
Picture draw_map(const MapGrid& map, unsigned cell, const std::optional<StartMark>& start);

// The picture as a PNG file, or nothing with `error` set.
std::optional<std::vector<std::uint8_t>> encode_png(const Picture& picture, std::string& error);

// The colour legend, one line per tile type, for --help.
std::string map_legend();

}  // namespace zarv::cli
