#include "map_picture.hpp"

#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include <simdjson.h>

namespace zarv::cli {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

// One colour per tile type (bits 5 to 7 of the tile byte).
constexpr Rgb kTileColours[8] = {
    {58, 58, 66},     // 0 wall
    {206, 199, 178},  // 1 floor
    {34, 24, 18},     // 2 pit
    {72, 124, 204},   // 3 stairs
    {176, 104, 40},   // 4 door
    {150, 84, 204},   // 5 teleporter
    {60, 152, 140},   // 6
    {196, 64, 64},    // 7
};
constexpr const char* kTileNames[8] = {"wall", "floor", "pit", "stairs", "door", "teleporter", "type 6", "type 7"};
constexpr Rgb kObjectMark = {250, 214, 40};
constexpr Rgb kStartMark = {40, 220, 90};

Rgb darker(Rgb c) {
  return {static_cast<std::uint8_t>(c.r * 3 / 4), static_cast<std::uint8_t>(c.g * 3 / 4),
          static_cast<std::uint8_t>(c.b * 3 / 4)};
}

class Canvas {
 public:
  explicit Canvas(Picture& picture) : p_(picture) {}
  void set(unsigned x, unsigned y, Rgb c) {
    std::uint8_t* px = &p_.rgb[(std::size_t{y} * p_.width + x) * 3];
    px[0] = c.r;
    px[1] = c.g;
    px[2] = c.b;
  }
  void fill(unsigned x0, unsigned y0, unsigned w, unsigned h, Rgb c) {
    for (unsigned y = y0; y < y0 + h; ++y) {
      for (unsigned x = x0; x < x0 + w; ++x) set(x, y, c);
    }
  }

 private:
  Picture& p_;
};

// A triangle filling the cell at (x0, y0), its apex on the side the party
// faces. Pixels are mapped into a frame where the apex is up, so one test
// serves all four directions.
void draw_arrow(Canvas& canvas, unsigned x0, unsigned y0, unsigned cell, unsigned dir) {
  if (cell < 5) {
    canvas.fill(x0, y0, cell, cell, kStartMark);
    return;
  }
  const double margin = cell / 8.0;
  const double centre = (cell - 1) / 2.0;
  for (unsigned j = 0; j < cell; ++j) {
    for (unsigned i = 0; i < cell; ++i) {
      unsigned a = i;
      unsigned b = j;
      switch (dir & 3) {
        case 1: a = j, b = cell - 1 - i; break;
        case 2: a = cell - 1 - i, b = cell - 1 - j; break;
        case 3: a = cell - 1 - j, b = i; break;
        default: break;
      }
      if (b < margin || b > cell - 1 - margin) continue;
      const double half_width = (b - margin) * 0.5;
      if (std::abs(a - centre) <= half_width) canvas.set(x0 + i, y0 + j, kStartMark);
    }
  }
}

bool read_uint(simdjson::dom::element object, const char* key, unsigned& out) {
  std::uint64_t value = 0;
  if (object[key].get_uint64().get(value) != simdjson::SUCCESS || value > 0xFFFF) return false;
  out = static_cast<unsigned>(value);
  return true;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool read_map(simdjson::dom::element m, MapGrid& grid) {
  if (!read_uint(m, "width", grid.width) || !read_uint(m, "height", grid.height)) return false;
  if (grid.width == 0 || grid.width > 32 || grid.height == 0 || grid.height > 32) return false;
  const std::size_t squares = std::size_t{grid.width} * grid.height;
  std::string_view tiles;
  simdjson::dom::array refs;
  if (m["tiles"].get_string().get(tiles) != simdjson::SUCCESS || tiles.size() != 2 * squares) return false;
  if (m["tileObjRefs"].get_array().get(refs) != simdjson::SUCCESS || refs.size() != squares) return false;
  grid.tiles.resize(squares);
  for (std::size_t p = 0; p < squares; ++p) {
    const int high = hex_value(tiles[2 * p]);
    const int low = hex_value(tiles[2 * p + 1]);
    if (high < 0 || low < 0) return false;
    grid.tiles[p] = static_cast<std::uint8_t>(high << 4 | low);
  }
  grid.has_objects.reserve(squares);
  for (simdjson::dom::element ref : refs) {
    std::int64_t value = 0;
    if (ref.get_int64().get(value) != simdjson::SUCCESS) return false;
    grid.has_objects.push_back(value >= 0);
  }
  return true;
}

}  // namespace

std::optional<DungeonPlan> read_dungeon_plan(std::string_view document, std::string& error) {
  simdjson::dom::parser parser;
  simdjson::dom::element root;
  const simdjson::padded_string text(document);
  if (auto code = parser.parse(text).get(root); code != simdjson::SUCCESS) {
    error = std::string("the editor-project document does not parse: ") + simdjson::error_message(code);
    return std::nullopt;
  }
  DungeonPlan plan;
  simdjson::dom::array maps;
  if (!read_uint(root, "startX", plan.start_x) || !read_uint(root, "startY", plan.start_y) ||
      !read_uint(root, "startDir", plan.start_dir) || !read_uint(root, "startMap", plan.start_map) ||
      root["maps"].get_array().get(maps) != simdjson::SUCCESS) {
    error = "the editor-project document lacks the party start or the maps";
    return std::nullopt;
  }
  for (simdjson::dom::element m : maps) {
    MapGrid grid;
    if (!read_map(m, grid)) {
      error = "map " + std::to_string(plan.maps.size()) + " of the editor-project document is malformed";
      return std::nullopt;
    }
    plan.maps.push_back(std::move(grid));
  }
  return plan;
}

Picture draw_map(const MapGrid& map, unsigned cell, const std::optional<StartMark>& start) {
  cell = std::clamp(cell, 1u, 64u);
  Picture picture;
  picture.width = map.width * cell;
  picture.height = map.height * cell;
  picture.rgb.assign(std::size_t{picture.width} * picture.height * 3, 0);
  Canvas canvas(picture);
  // Grid lines only where cells are big enough to spare a pixel.
  const unsigned line = cell >= 6 ? 1 : 0;
  const unsigned mark = std::max(1u, cell / 3);
  for (unsigned x = 0; x < map.width; ++x) {
    for (unsigned y = 0; y < map.height; ++y) {
      const std::size_t p = std::size_t{x} * map.height + y;
      const Rgb colour = kTileColours[map.tiles[p] >> 5];
      const unsigned x0 = x * cell;
      const unsigned y0 = y * cell;
      canvas.fill(x0, y0, cell, cell, colour);
      if (line != 0) {
        canvas.fill(x0, y0, cell, line, darker(colour));
        canvas.fill(x0, y0, line, cell, darker(colour));
      }
      if (start && start->x == x && start->y == y) draw_arrow(canvas, x0, y0, cell, start->dir);
      if (map.has_objects[p]) {
        const unsigned offset = (cell - mark) / 2;
        canvas.fill(x0 + offset, y0 + offset, mark, mark, kObjectMark);
      }
    }
  }
  return picture;
}

std::optional<std::vector<std::uint8_t>> encode_png(const Picture& picture, std::string& error) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
  if (!ctx) {
    error = "cannot start the PNG encoder";
    return std::nullopt;
  }
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = picture.width;
  ihdr.height = picture.height;
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  int rc = spng_set_ihdr(ctx.get(), &ihdr);
  if (rc == 0) {
    rc = spng_encode_image(ctx.get(), picture.rgb.data(), picture.rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
  }
  if (rc != 0) {
    error = std::string("PNG encoding failed: ") + spng_strerror(rc);
    return std::nullopt;
  }
  std::size_t length = 0;
  void* png = spng_get_png_buffer(ctx.get(), &length, &rc);
  if (png == nullptr) {
    error = std::string("PNG encoding failed: ") + spng_strerror(rc);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::uint8_t*>(png), static_cast<std::uint8_t*>(png) + length);
  std::free(png);
  return bytes;
}

std::string map_legend() {
  std::string legend = "Colours by tile type (bits 5 to 7 of the square's byte):\n";
  for (unsigned t = 0; t < 8; ++t) {
    const Rgb c = kTileColours[t];
    legend += "  " + std::to_string(t) + " " + kTileNames[t] + ": rgb(" + std::to_string(c.r) + ", " +
              std::to_string(c.g) + ", " + std::to_string(c.b) + ")\n";
  }
  legend += "A yellow square marks a square holding objects; a green arrow is the party's start, pointing the "
            "way it faces.";
  return legend;
}

}  // namespace zarv::cli
