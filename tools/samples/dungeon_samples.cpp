#include "samples/dungeon_samples.hpp"

#include <algorithm>
#include <numeric>
#include <optional>

namespace zarv::samples {
namespace {

constexpr std::uint16_t kEnd = 0xFFFE;
constexpr unsigned kTypeOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15};

std::uint16_t oid(unsigned type, unsigned index, unsigned position = 0) {
  return static_cast<std::uint16_t>(position << 14 | type << 10 | index);
}

std::uint16_t size_word(unsigned width, unsigned height, unsigned level) {
  return static_cast<std::uint16_t>((height - 1) << 11 | (width - 1) << 6 | level);
}

std::size_t body_size(const SampleMap& m) {
  return m.tiles.size() + m.allowed_creature_types.size() + m.wall_graphics.size() + m.floor_graphics.size() +
         m.door_decoration_graphics.size();
}

// A small deterministic generator, so samples are the same on every machine.
class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
  std::uint16_t word() { return static_cast<std::uint16_t>(next()); }
  std::uint8_t byte() { return static_cast<std::uint8_t>(next()); }

 private:
  std::uint64_t state_;
};

}  // namespace

const std::vector<unsigned>& record_field_widths(unsigned type) {
  static const std::vector<unsigned> two = {16, 16};
  static const std::vector<unsigned> teleporter = {16, 16, 16};
  static const std::vector<unsigned> four = {16, 16, 16, 16};
  static const std::vector<unsigned> creature = {16, 16, 8, 8, 16, 16, 16, 16, 16};
  static const std::vector<unsigned> missile = {16, 16, 8, 8, 16};
  static const std::vector<unsigned> none = {};
  switch (type) {
    case 1: return teleporter;
    case 3: case 9: return four;
    case 4: return creature;
    case 14: return missile;
    case 11: case 12: case 13: return none;
    default: return two;
  }
}

std::vector<std::uint8_t> build_dungeon(const SampleDungeon& d) {
  std::array<std::uint16_t, 16> counts = d.extra_counts;
  for (unsigned t : kTypeOrder) counts[t] = 0;
  for (const auto& r : d.records) ++counts[r.type];

  std::vector<std::uint16_t> columns;
  std::vector<std::uint16_t> object_list;
  for (const SampleMap& m : d.maps) {
    std::size_t next_first = 0;
    for (unsigned x = 0; x < m.width(); ++x) {
      columns.push_back(static_cast<std::uint16_t>(object_list.size()));
      for (unsigned y = 0; y < m.height(); ++y) {
        if ((m.tiles[x * m.height() + y] & 0x10) != 0) object_list.push_back(m.first_objects.at(next_first++));
      }
    }
  }

  // The tile data block: gap filler, then every body at its offset.
  std::size_t block_size = 0;
  for (std::size_t i = 0; i < d.maps.size(); ++i) block_size = std::max(block_size, d.body_offsets[i] + body_size(d.maps[i]));
  block_size += d.trailing;
  std::vector<std::uint8_t> block(block_size, d.gap_fill);
  for (std::size_t i = 0; i < d.maps.size(); ++i) {
    const SampleMap& m = d.maps[i];
    auto at = block.begin() + d.body_offsets[i];
    for (const auto* list : {&m.tiles, &m.allowed_creature_types, &m.wall_graphics, &m.floor_graphics,
                             &m.door_decoration_graphics}) {
      at = std::copy(list->begin(), list->end(), at);
    }
  }

  Bytes out(d.order);
  out.u16(d.random_seed);
  out.u16(static_cast<std::uint16_t>(std::min<std::size_t>(block_size, 0xFFFF)));  // map_data_size
  out.u8(static_cast<std::uint8_t>(d.maps.size()));
  out.u8(d.padding);
  out.u16(static_cast<std::uint16_t>(d.text_database.size()));
  out.u16(d.start_party_pos);
  out.u16(static_cast<std::uint16_t>(object_list.size()));
  for (std::uint16_t c : counts) out.u16(c);
  for (std::size_t i = 0; i < d.maps.size(); ++i) {
    const SampleMap& m = d.maps[i];
    out.u16(d.body_offsets[i]).u16(m.flags_word);
    out.u8(m.unused_4).u8(m.unused_5).u8(m.shift_x).u8(m.shift_y);
    out.u16(m.map_size_word).u16(m.num_graphs_word).u16(m.w12).u16(m.w14);
  }
  for (std::uint16_t w : columns) out.u16(w);
  for (std::uint16_t w : object_list) out.u16(w);
  for (std::uint16_t w : d.text_database) out.u16(w);
  for (unsigned t : kTypeOrder) {
    for (const auto& r : d.records) {
      if (r.type != t) continue;
      const auto& widths = record_field_widths(t);
      for (std::size_t f = 0; f < widths.size(); ++f) {
        if (widths[f] == 8) {
          out.u8(static_cast<std::uint8_t>(r.fields.at(f)));
        } else {
          out.u16(r.fields.at(f));
        }
      }
    }
  }
  out.raw(block);
  return out.take();
}

SampleDungeon showcase_dungeon(Order order) {
  SampleDungeon d;
  d.order = order;
  d.random_seed = 0x2A17;
  d.start_party_pos = static_cast<std::uint16_t>(1 << 10 | 3 << 5 | 2);  // (2, 3) facing east
  d.text_database = {0x1234, 0x0BAD, 0xF00D, 0x0000};

  // Records, each index being its place among its type.
  d.records = {
      {0, {kEnd, 0x1161}},                                         // door 0: button, bashable, decoration 0
      {1, {kEnd, 0x5C85, 0x0100}},                                 // teleporter 0 to map 1
      {2, {kEnd, 0x0009}},                                         // text 0: visible, text 1
      {3, {oid(2, 0, 1), 0x0495, 0xF3A4, 0x0850}},                 // actuator 0, then the wall text
      {4, {oid(5, 1, 2), oid(5, 0), 7, 1, 120, 3, 4, 5, 0x0040}},  // creature 0 carrying weapon 0
      {5, {oid(8, 0), 0x0C88}},                                    // weapon 0 then potion 0
      {5, {kEnd, 0x2403}},                                         // weapon 1, after the creature
      {6, {kEnd, 0x1A05}},                                         // clothes 0, a missile's payload
      {7, {oid(10, 0), 0x0003}},                                   // scroll 0 in the chest, then misc 0
      {8, {kEnd, 0x8305}},                                         // potion 0
      {9, {kEnd, oid(7, 0), 0x0003, 0x0123}},                      // chest 0 holding scroll 0
      {10, {0xFFFF, 0x0F92}},                                      // misc 0
      {14, {oid(15, 0, 3), oid(6, 0), 9, 40, 0x0102}},             // missile 0 carrying clothes 0
      {15, {kEnd, 0x0044}},                                        // cloud 0
  };

  SampleMap m0;
  m0.map_size_word = size_word(8, 6, 1);
  m0.flags_word = 0x01B9;
  m0.shift_x = 2;
  m0.shift_y = 3;
  m0.num_graphs_word = 0x0233;  // 3 wall graphics, 2 floor graphics, 3 random decorations
  m0.w12 = 0x3021;              // 2 creature types, 1 door decoration, difficulty 3
  m0.w14 = 0x2150;
  m0.tiles.assign(8 * 6, 0x20);  // floor
  for (unsigned x = 0; x < 8; ++x) {
    m0.tiles[x * 6 + 0] = 0x00;  // walls along the top and bottom
    m0.tiles[x * 6 + 5] = 0x00;
  }
  m0.tiles[0 * 6 + 2] = 0x10;  // wall with an actuator and a text
  m0.tiles[2 * 6 + 2] = 0x30;  // the creature's square
  m0.tiles[4 * 6 + 1] = 0x90;  // a door
  m0.tiles[5 * 6 + 3] = 0x30;  // the chest
  m0.tiles[6 * 6 + 4] = 0x62;  // stairs
  m0.first_objects = {oid(3, 0, 2), oid(4, 0), oid(0, 0), oid(9, 0, 1)};
  m0.allowed_creature_types = {7, 12};
  m0.wall_graphics = {1, 2, 3};
  m0.floor_graphics = {4, 5};
  m0.door_decoration_graphics = {6};

  SampleMap m1;
  m1.map_size_word = size_word(5, 4, 2);
  m1.flags_word = 0x0020;
  m1.num_graphs_word = 0x0101;
  m1.w12 = 0x1000;
  m1.w14 = 0x0030;
  m1.unused_4 = 0xAB;
  m1.unused_5 = 0xCD;
  m1.tiles.assign(5 * 4, 0x20);
  m1.tiles[1 * 4 + 1] = 0xB0;  // teleporter square
  m1.tiles[2 * 4 + 2] = 0x3F;  // a missile and a cloud in flight
  m1.tiles[4 * 4 + 3] = 0x40;  // a pit
  m1.first_objects = {oid(1, 0), oid(14, 0, 2)};
  m1.wall_graphics = {9};
  m1.floor_graphics = {8};

  SampleMap m2;
  m2.map_size_word = size_word(3, 3, 3);
  m2.tiles = {0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00};

  d.maps = {m0, m1, m2};
  // Bodies in reverse order, a 3-byte gap between the last two, 5 bytes after.
  const std::uint16_t m2_at = 0;
  const auto m1_at = static_cast<std::uint16_t>(body_size(m2) + 3);
  const auto m0_at = static_cast<std::uint16_t>(m1_at + body_size(m1));
  d.body_offsets = {m0_at, m1_at, m2_at};
  d.trailing = 5;
  return d;
}

SampleDungeon random_dungeon(std::uint64_t seed, Order order, unsigned n_maps, unsigned max_side,
                             unsigned max_objects, bool full_size) {
  SplitMix rng(seed);
  SampleDungeon d;
  d.order = order;
  d.random_seed = rng.word();
  d.start_party_pos = rng.word();
  d.padding = rng.byte();
  d.gap_fill = rng.byte();
  for (unsigned i = 0; i < rng.below(20); ++i) d.text_database.push_back(rng.word());

  std::array<std::vector<std::size_t>, 16> positions;  // per type: index -> place in d.records
  // A fresh record of a type, or none when the type or the budget is full.
  auto allocate = [&](unsigned type) -> std::optional<std::uint16_t> {
    if (positions[type].size() >= 1024 || d.records.size() >= max_objects) return std::nullopt;
    SampleRecord r{type, {}};
    for (unsigned w : record_field_widths(type)) r.fields.push_back(w == 8 ? rng.byte() : rng.word());
    r.fields[0] = kEnd;
    const auto index = static_cast<unsigned>(positions[type].size());
    positions[type].push_back(d.records.size());
    d.records.push_back(r);
    return oid(type, index, rng.below(4));
  };
  auto record_of = [&](std::uint16_t id) -> SampleRecord& {
    return d.records[positions[(id >> 10) & 0xF][id & 0x3FF]];
  };
  auto chain = [&](unsigned length, auto&& self, unsigned depth) -> std::uint16_t {
    std::uint16_t first = 0xFFFF;
    std::uint16_t previous = 0xFFFF;
    for (unsigned k = 0; k < length; ++k) {
      unsigned type = kTypeOrder[rng.below(13)];
      auto id = allocate(type);
      if (!id) break;
      if (previous == 0xFFFF) {
        first = *id;
      } else {
        record_of(previous).fields[0] = *id;
      }
      // Creatures, chests and missiles may hold a chain of their own.
      const int child_field = type == 4 ? 1 : type == 9 ? 1 : type == 14 ? 1 : -1;
      if (child_field >= 0) {
        std::uint16_t child = depth < 2 && rng.below(2) == 0 ? self(1 + rng.below(3), self, depth + 1) : 0xFFFF;
        record_of(*id).fields[static_cast<std::size_t>(child_field)] = child == 0xFFFF ? kEnd : child;
      }
      previous = *id;
    }
    if (previous != 0xFFFF && rng.below(2) == 0) record_of(previous).fields[0] = 0xFFFF;
    return first;
  };

  for (unsigned i = 0; i < n_maps; ++i) {
    SampleMap m;
    const unsigned width = full_size ? max_side : 1 + rng.below(max_side);
    const unsigned height = full_size ? max_side : 1 + rng.below(max_side);
    m.map_size_word = size_word(width, height, rng.below(64));
    m.flags_word = rng.word();
    m.unused_4 = rng.byte();
    m.unused_5 = rng.byte();
    m.shift_x = rng.byte();
    m.shift_y = rng.byte();
    m.num_graphs_word = rng.word();
    m.w12 = rng.word();
    m.w14 = rng.word();
    m.tiles.resize(std::size_t{width} * height);
    for (auto& t : m.tiles) {
      t = static_cast<std::uint8_t>(rng.byte() & ~0x10);
      if (rng.below(16) == 0) {
        std::uint16_t first = chain(1 + rng.below(3), chain, 0);
        if (first != 0xFFFF) {
          t |= 0x10;
          m.first_objects.push_back(first);
        }
      }
    }
    auto fill = [&](std::vector<std::uint8_t>& list, unsigned n) {
      for (unsigned k = 0; k < n; ++k) list.push_back(rng.byte());
    };
    fill(m.allowed_creature_types, (m.w12 >> 4) & 0xF);
    fill(m.wall_graphics, m.num_graphs_word & 0xF);
    fill(m.floor_graphics, (m.num_graphs_word >> 8) & 0xF);
    fill(m.door_decoration_graphics, m.w12 & 0xF);
    d.maps.push_back(std::move(m));
  }
  // The order in which tiles were visited above is row-major inside the
  // tiles vector (column by column), which is the object list's order.

  // Bodies in a shuffled order with random gaps.
  std::vector<std::size_t> order_of_bodies(d.maps.size());
  std::iota(order_of_bodies.begin(), order_of_bodies.end(), 0);
  for (std::size_t i = order_of_bodies.size(); i > 1; --i) std::swap(order_of_bodies[i - 1], order_of_bodies[rng.below(static_cast<unsigned>(i))]);
  d.body_offsets.assign(d.maps.size(), 0);
  std::size_t at = 0;
  for (std::size_t i : order_of_bodies) {
    at += rng.below(4);
    if (at + body_size(d.maps[i]) > 0xFFFF) at = 0;  // offsets are 16-bit: overlap rather than overflow
    d.body_offsets[i] = static_cast<std::uint16_t>(at);
    at += body_size(d.maps[i]);
  }
  d.trailing = rng.below(8);
  return d;
}

void write_dungeon_samples(const SampleSink& sink) {
  sink("dungeon-le.dat", build_dungeon(showcase_dungeon(Order::Little)));
  sink("dungeon-be.dat", build_dungeon(showcase_dungeon(Order::Big)));
}

}  // namespace zarv::samples
