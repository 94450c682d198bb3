#pragma once
// The 44-byte dungeon file header and the 16-byte map descriptor. Savegames
// embed the same two records and read them with these readers.
#include <array>
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_order.hpp"
#include "codec/record.hpp"

namespace zarv::dungeon {

using codec::ByteOrder;

struct FileHeader {
  std::uint16_t random_seed = 0;
  std::uint16_t map_data_size = 0;  // consulted only by byte-order detection
  std::uint8_t n_maps = 0;
  std::uint8_t padding = 0;
  std::uint16_t text_data_size = 0;  // in 16-bit words
  std::uint16_t start_party_pos = 0;
  std::uint16_t obj_list_size = 0;  // in 16-bit words
  std::array<std::uint16_t, 16> n_records{};  // per object type 0 to 15

  static constexpr std::size_t kSize = 44;

  // Reads the header from the start of `bytes`.
  static tl::expected<FileHeader, codec::RecordError> parse(std::span<const std::uint8_t> bytes, ByteOrder order);

  // Between 1 and 128 maps and at most 10000 object records in all: what a
  // header read in the wrong byte order almost never satisfies.
  bool is_plausible() const;
};
ZARV_RECORD(FileHeader, random_seed, map_data_size, n_maps, padding, text_data_size, start_party_pos, obj_list_size,
            n_records)

struct Map {
  std::uint16_t map_offset = 0;  // body offset inside the tile data block
  std::uint16_t flags_word = 0;
  std::uint8_t unused_4 = 0;
  std::uint8_t unused_5 = 0;
  std::uint8_t shift_x = 0;
  std::uint8_t shift_y = 0;
  std::uint16_t map_size_word = 0;
  std::uint16_t num_graphs_word = 0;
  std::uint16_t w12 = 0;
  std::uint16_t w14 = 0;

  static constexpr std::size_t kSize = 16;

  static tl::expected<Map, codec::RecordError> parse(std::span<const std::uint8_t> bytes, ByteOrder order);

  // Values packed into the descriptor's words. They are derived on demand, so
  // editing a packed word changes the layout everything else uses.
  unsigned width() const { return ((map_size_word >> 6) & 0x1F) + 1; }
  unsigned height() const { return ((map_size_word >> 11) & 0x1F) + 1; }
  unsigned wall_graphics_count() const { return num_graphs_word & 0x0F; }
  unsigned floor_graphics_count() const { return (num_graphs_word >> 8) & 0x0F; }
  unsigned allowed_creature_types_count() const { return (w12 >> 4) & 0x0F; }
  unsigned door_decoration_count() const { return w12 & 0x0F; }
  // Size of the map's body: its tiles plus the four graphics and creature lists.
  std::size_t body_size() const {
    return std::size_t{width()} * height() + allowed_creature_types_count() + wall_graphics_count() +
           floor_graphics_count() + door_decoration_count();
  }
};
ZARV_RECORD(Map, map_offset, flags_word, unused_4, unused_5, shift_x, shift_y, map_size_word, num_graphs_word, w12,
            w14)

static_assert(codec::binary_size<FileHeader>() == FileHeader::kSize);
static_assert(codec::binary_size<Map>() == Map::kSize);

}  // namespace zarv::dungeon
