#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "codec/record.hpp"
#include "dungeon/error.hpp"
#include "dungeon/header.hpp"

namespace zarv::dungeon {

// One map square: its type in bits 5 to 7, bit 4 set when objects lie on it,
// bits 0 to 3 carried unchanged.
using Tile = std::uint8_t;

constexpr unsigned tile_type(Tile tile) { return tile >> 5; }
constexpr bool tile_has_objects(Tile tile) { return (tile & 0x10) != 0; }

// The body of one map: width x height tiles stored column by column (tile
// (x, y) at x * height + y), then four short lists.
struct MapBody {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::vector<Tile> tiles;
  std::vector<std::uint8_t> allowed_creature_types;
  std::vector<std::uint8_t> wall_graphics;
  std::vector<std::uint8_t> floor_graphics;
  std::vector<std::uint8_t> door_decoration_graphics;

  // `slice` starts at the map's offset in the tile data block (empty when the
  // offset lies beyond it). Bytes past the body stay in the block.
  static tl::expected<MapBody, Error> parse(std::span<const std::uint8_t> slice, const Map& map,
                                            std::size_t map_index);

  Tile tile(unsigned x, unsigned y) const { return tiles[std::size_t{x} * height + y]; }
  // The lists exactly as stored; their lengths are not checked against the
  // descriptor, so an edited body may write a different size.
  std::size_t byte_size() const;
  void write(std::uint8_t* out) const;
  codec::ByteBuffer to_bytes() const;
};
ZARV_RECORD(MapBody, width, height, tiles, allowed_creature_types, wall_graphics, floor_graphics,
            door_decoration_graphics)

}  // namespace zarv::dungeon
