#pragma once
// Dungeon files built from the file layout: a header, map descriptors, the
// columns array and object list, a text database, the per-type object
// records and a tile data block holding the map bodies.
#include <array>
#include <cstdint>
#include <vector>

#include "samples/bytes.hpp"

namespace zarv::samples {

// One object record: its type (0 to 10, 14, 15) and its field values in
// declaration order.
struct SampleRecord {
  unsigned type = 0;
  std::vector<std::uint16_t> fields;
};

struct SampleMap {
  std::uint16_t flags_word = 0;
  std::uint8_t unused_4 = 0, unused_5 = 0, shift_x = 0, shift_y = 0;
  std::uint16_t map_size_word = 0;  // width - 1 in bits 6-10, height - 1 in bits 11-15
  std::uint16_t num_graphs_word = 0;
  std::uint16_t w12 = 0;
  std::uint16_t w14 = 0;
  std::vector<std::uint8_t> tiles;  // column by column
  std::vector<std::uint8_t> allowed_creature_types, wall_graphics, floor_graphics, door_decoration_graphics;
  // The first object of every square whose tile has bit 4 set, in column
  // then row order.
  std::vector<std::uint16_t> first_objects;

  unsigned width() const { return ((map_size_word >> 6) & 0x1F) + 1; }
  unsigned height() const { return ((map_size_word >> 11) & 0x1F) + 1; }
};

struct SampleDungeon {
  Order order = Order::Little;
  std::uint16_t random_seed = 0;
  std::uint16_t start_party_pos = 0;
  std::uint8_t padding = 0;
  std::array<std::uint16_t, 16> extra_counts{};  // counts for types 11 to 13
  std::vector<SampleMap> maps;
  std::vector<SampleRecord> records;  // any order; written grouped by type
  std::vector<std::uint16_t> text_database;
  // Where each body goes in the tile data block (its map_offset); bytes no
  // body covers are filled with `gap_fill`, and `trailing` bytes follow.
  std::vector<std::uint16_t> body_offsets;
  std::size_t trailing = 0;
  std::uint8_t gap_fill = 0xCC;
};

// Field widths in bits of each record type, in declaration order.
const std::vector<unsigned>& record_field_widths(unsigned type);

// The file bytes of a sample dungeon.
std::vector<std::uint8_t> build_dungeon(const SampleDungeon& dungeon);

// A small dungeon with three maps and every record kind: a creature carrying
// two items followed by a weapon, a chest with contents, a missile with its
// payload, an actuator and a wall text on a wall square, a door, a
// teleporter and a cloud; bodies stored in reverse order with gaps and
// trailing bytes.
SampleDungeon showcase_dungeon(Order order);

// A generated dungeon with consistent object chains (every object reached
// exactly once from a tile), random tiles and records from `seed`, random
// gaps and trailing bytes. Maps are max_side x max_side when full_size,
// else of random sizes up to that.
SampleDungeon random_dungeon(std::uint64_t seed, Order order, unsigned n_maps, unsigned max_side,
                             unsigned max_objects, bool full_size = false);

void write_dungeon_samples(const SampleSink& sink);

}  // namespace zarv::samples
