#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dungeon/json/voproject.hpp"
#include "samples/dungeon_samples.hpp"

namespace zarv::dungeon {
namespace {

using samples::Order;
using samples::SampleDungeon;
using samples::SampleMap;
using samples::SampleRecord;

constexpr std::uint16_t kEnd = 0xFFFE;

std::uint16_t oid(unsigned type, unsigned index, unsigned position = 0) {
  return static_cast<std::uint16_t>(position << 14 | type << 10 | index);
}

// A sample dungeon's file bytes and the dungeon parsed from them, which
// keeps a view of those bytes.
struct Parsed {
  std::vector<std::uint8_t> file;
  Dungeon dungeon;
};

std::unique_ptr<Parsed> parse(const SampleDungeon& sample) {
  auto parsed = std::make_unique<Parsed>();
  parsed->file = samples::build_dungeon(sample);
  auto d = Dungeon::parse(parsed->file, sample.order == Order::Big ? ByteOrder::Big : ByteOrder::Little);
  EXPECT_TRUE(d) << d.error().message();
  if (d) parsed->dungeon = std::move(*d);
  return parsed;
}

// One 1 x 1 map whose only square holds the chain starting at `first`.
SampleDungeon one_square(std::uint8_t tile, std::uint16_t first, std::vector<SampleRecord> records) {
  SampleDungeon d;
  SampleMap m;
  m.tiles = {tile};
  if ((tile & 0x10) != 0) m.first_objects = {first};
  d.maps = {m};
  d.records = std::move(records);
  d.body_offsets = {0};
  return d;
}

std::string text_of(const codec::ByteBuffer& bytes) { return std::string(bytes.text()); }

// Two maps: a 2 x 2 map with an open chest holding a scroll, followed in
// its chain by a cloud, and a 1 x 1 wall square (0x1A) with an actuator.
SampleDungeon small_dungeon(Order order) {
  SampleDungeon d;
  d.order = order;
  d.random_seed = 0x2A17;
  d.start_party_pos = 0xF821;  // (1, 1) facing 2; bits 12 to 15 are not part of it
  d.records = {
      {3, {kEnd, 0x0105, 0x3104, 0x0890}},                   // actuator 0
      {7, {0xFFFF, 0x0011}},                                  // scroll 0
      {9, {oid(15, 0, 2), oid(7, 0), 0x0005, 0x0043}},        // chest 0
      {15, {kEnd, 0x1234}},                                   // cloud 0
  };
  SampleMap m0;
  m0.map_size_word = 0x0845;  // 2 x 2, level 5
  m0.flags_word = 0x01A9;
  m0.shift_x = 4;
  m0.shift_y = 7;
  m0.num_graphs_word = 0x0150;  // one floor graphic, 5 random decorations
  m0.w12 = 0x9020;              // two creature types, difficulty 9
  m0.w14 = 0x00B0;
  m0.tiles = {0x00, 0x31, 0x20, 0x42};
  m0.first_objects = {oid(9, 0, 1)};
  m0.allowed_creature_types = {3, 9};
  m0.floor_graphics = {11};
  SampleMap m1;
  m1.map_size_word = 0x0002;  // 1 x 1, level 2
  m1.tiles = {0x1A};
  m1.first_objects = {oid(3, 0, 3)};
  d.maps = {m0, m1};
  d.body_offsets = {0, 7};
  return d;
}

constexpr const char* kSmallDocument = R"({
  "randomGraphicsSeed": 10775,
  "startX": 1,
  "startY": 1,
  "startDir": 2,
  "startMap": 0,
  "maps": [
    {
      "tiles": "00312042",
      "tileObjRefs": [
        -1,
        0,
        -1,
        -1
      ],
      "useTeleporter": true,
      "useDoor0": true,
      "useDoor1": true,
      "useUpperPitfall": true,
      "useLowerPitfall": false,
      "useUpStaircase": true,
      "useDownStaircase": false,
      "shiftX": 4,
      "shiftY": 7,
      "height": 2,
      "width": 2,
      "level": 5,
      "difficulty": 9,
      "mapGraphicsStyle": 11,
      "wallGraphicsRandomDecorations": 5,
      "allowedCreatureTypes": [
        3,
        9
      ]
    },
    {
      "tiles": "1A",
      "tileObjRefs": [
        3
      ],
      "useTeleporter": false,
      "useDoor0": false,
      "useDoor1": false,
      "useUpperPitfall": false,
      "useLowerPitfall": false,
      "useUpStaircase": false,
      "useDownStaircase": false,
      "shiftX": 0,
      "shiftY": 0,
      "height": 1,
      "width": 1,
      "level": 2,
      "difficulty": 0,
      "mapGraphicsStyle": 0,
      "wallGraphicsRandomDecorations": 0,
      "allowedCreatureTypes": []
    }
  ],
  "objs": [
    {
      "direction": 1,
      "nextObjRef": 2,
      "childObjRef": 1,
      "type": "container",
      "isOpened": true,
      "containerType": 2,
      "destX": 3,
      "destY": 2,
      "destMap": 0
    },
    {
      "direction": 0,
      "nextObjRef": -1,
      "type": "scroll",
      "referredText": 17
    },
    {
      "direction": 2,
      "nextObjRef": -1,
      "type": "cloud"
    },
    {
      "direction": 3,
      "nextObjRef": -1,
      "type": "actuator",
      "actuatorType": 5,
      "actuatorData": 2,
      "activeStatus": false,
      "onceOnlyActuator": true,
      "actionType": 0,
      "inversion": false,
      "sound": false,
      "delay": 2,
      "floorOrnate": -1,
      "wallOrnate": 3,
      "newDirection": 1,
      "xCoord": 2,
      "yCoord": 1
    }
  ]
})";

TEST(VoprojectDocument, SmallDungeonInFullInEitherByteOrder) {
  for (Order order : {Order::Little, Order::Big}) {
    auto parsed = parse(small_dungeon(order));
    auto text = dump_dungeon(parsed->dungeon);
    ASSERT_TRUE(text) << text.error().message();
    EXPECT_EQ(text_of(*text), kSmallDocument);
  }
}

TEST(VoprojectDocument, DungeonWithoutObjects) {
  SampleDungeon d = one_square(0x20, 0, {{5, {kEnd, 0x0001}}});  // a weapon that no square holds
  d.maps[0].map_size_word = 0x0840;                               // 2 x 2
  d.maps[0].tiles = {0x20, 0xE5, 0x0F, 0x20};
  auto parsed = parse(d);
  auto document = build(parsed->dungeon);
  ASSERT_TRUE(document) << document.error().message();
  EXPECT_TRUE(document->objs.empty());
  ASSERT_EQ(document->maps.size(), 1u);
  EXPECT_EQ(document->maps[0].tiles, "20E50F20");
  EXPECT_EQ(document->maps[0].tile_obj_refs, (std::vector<std::int32_t>(4, -1)));
  auto text = dump_dungeon(parsed->dungeon);
  ASSERT_TRUE(text);
  EXPECT_NE(text_of(*text).find("\"objs\": []\n}"), std::string::npos);
}

// Each record kind alone on a square, with a bit pattern and its complement:
// every field's edges differ from their neighbours in one of the two, so a
// field read one bit too wide or too narrow changes its value.
TEST(VoprojectDocument, EachObjectKindDecodesItsBitRanges) {
  struct Case {
    const char* name;
    std::uint8_t tile;
    SampleRecord record;
    unsigned position;
    ObjFields expected;
  };
  const Case cases[] = {
      {"door pattern", 0x90, {0, {kEnd, 0x1A5B}}, 3, DoorJson{true, false, false, true, false, 7, -1, false}},
      {"door complement", 0x90, {0, {kEnd, 0xE5A4}}, 2, DoorJson{false, true, true, false, true, 12, 42, false}},
      {"teleporter pattern", 0xB0, {1, {kEnd, 0x96A7, 0x3AC5}}, 1, TeleporterJson{7, 21, 58, 1, true, 0, true}},
      {"teleporter complement", 0xB0, {1, {kEnd, 0x6958, 0xC53A}}, 0,
       TeleporterJson{24, 10, 197, 2, false, 3, false}},
      {"text pattern", 0x10, {2, {kEnd, 0x96A7}}, 3, TextJson{true, 3, 4820}},
      {"text complement", 0x10, {2, {kEnd, 0x6958}}, 3, TextJson{false, 0, 3371}},
      {"actuator on a floor", 0x30, {3, {kEnd, 0xB3D5, 0x96A7, 0x5AB6}}, 1,
       ActuatorJson{85, 359, false, true, 0, true, false, 13, 9, -1, 3, 10, 11}},
      {"actuator on a wall", 0x10, {3, {kEnd, 0x4C2A, 0x6958, 0xA549}}, 2,
       ActuatorJson{42, 152, false, false, 3, false, true, 2, -1, 6, 0, 21, 20}},
      {"creature", 0x30, {4, {kEnd, kEnd, 0x5A, 0xA5, 0x1234, 0x2345, 0x3456, 0x4567, 0x5678}}, 3,
       CreatureJson{0x5A, 0xA5, 0x1234, 0x2345, 0x3456, 0x4567}},
      {"weapon pattern", 0x30, {5, {kEnd, 0x96A7}}, 0, ItemJson{"weapon", 39, true, 5}},
      {"weapon complement", 0x30, {5, {kEnd, 0x6958}}, 0, ItemJson{"weapon", 88, false, 10}},
      {"clothes pattern", 0x30, {6, {kEnd, 0x96A7}}, 0, ItemJson{"cloth", 39, true, 11}},
      {"clothes complement", 0x30, {6, {kEnd, 0x6958}}, 0, ItemJson{"cloth", 88, false, 4}},
      {"scroll pattern", 0x30, {7, {kEnd, 0x96A7}}, 0, ScrollJson{679}},
      {"scroll complement", 0x30, {7, {kEnd, 0x6958}}, 0, ScrollJson{344}},
      {"potion pattern", 0x30, {8, {kEnd, 0x96A7}}, 0, PotionJson{167, 22, true}},
      {"potion complement", 0x30, {8, {kEnd, 0x6958}}, 0, PotionJson{88, 105, false}},
      {"chest pattern", 0x30, {9, {kEnd, kEnd, 0x96A7, 0x5AB6}}, 0, ContainerJson{true, 3, 22, 21, 0}},
      {"chest complement", 0x30, {9, {kEnd, kEnd, 0x6958, 0xA549}}, 0, ContainerJson{false, 0, 9, 10, 0}},
      {"misc pattern", 0x30, {10, {kEnd, 0x96A7}}, 0, ItemJson{"miscItem", 39, true, 22}},
      {"misc complement", 0x30, {10, {kEnd, 0x6958}}, 0, ItemJson{"miscItem", 88, false, 41}},
      {"missile", 0x30, {14, {kEnd, kEnd, 0xFF, 0xFF, 0xFFFF}}, 2, MissileJson{}},
      {"cloud", 0x30, {15, {kEnd, 0xFFFF}}, 1, CloudJson{}},
  };
  for (const Case& c : cases) {
    SampleDungeon d = one_square(c.tile, oid(c.record.type, 0, c.position), {c.record});
    d.maps[0].w14 = 0x7C30;  // door kinds 12 (bit 0 clear) and 7 (bit 0 set)
    d.maps[0].w12 = 0x0003;  // three door decorations
    d.maps[0].door_decoration_graphics = {40, 41, 42};
    auto parsed = parse(d);
    auto document = build(parsed->dungeon);
    ASSERT_TRUE(document) << c.name << ": " << document.error().message();
    ASSERT_EQ(document->objs.size(), 1u) << c.name;
    const ObjVariant& obj = document->objs[0];
    EXPECT_EQ(obj.direction, c.position) << c.name;
    EXPECT_TRUE(obj.fields == c.expected) << c.name;
  }
}

// The showcase dungeon: an actuator followed by a text on a wall square, a
// creature carrying a weapon and a potion followed by a second weapon, a
// door, a chest holding a scroll and a misc item, a teleporter on the next
// map and a missile carrying clothes followed by a cloud.
TEST(VoprojectWalk, ListsHeldObjectsBeforeTheRestOfTheChain) {
  struct Expected {
    std::string_view type;
    unsigned direction;
    std::int32_t next;
    std::int32_t child;
  };
  const Expected expected[] = {
      {"actuator", 2, 1, -1}, {"text", 1, -1, -1},     {"creature", 0, 5, 3},   {"weapon", 0, 4, -1},
      {"potion", 0, -1, -1},  {"weapon", 2, -1, -1},   {"door", 0, -1, -1},     {"container", 1, -1, 8},
      {"scroll", 0, 9, -1},   {"miscItem", 0, -1, -1}, {"teleporter", 0, -1, -1}, {"missile", 2, 13, 12},
      {"cloth", 0, -1, -1},   {"cloud", 3, -1, -1},
  };
  std::string previous;
  for (Order order : {Order::Little, Order::Big}) {
    auto parsed = parse(samples::showcase_dungeon(order));
    auto document = build(parsed->dungeon);
    ASSERT_TRUE(document) << document.error().message();
    ASSERT_EQ(document->objs.size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
      const ObjVariant& obj = document->objs[k];
      const std::string_view type = std::visit(
          [](const auto& f) -> std::string_view {
            if constexpr (std::is_same_v<std::decay_t<decltype(f)>, ItemJson>) {
              return f.type_name;
            } else {
              return std::decay_t<decltype(f)>::kType;
            }
          },
          obj.fields);
      EXPECT_EQ(type, expected[k].type) << k;
      EXPECT_EQ(obj.direction, expected[k].direction) << k;
      EXPECT_EQ(obj.next_obj_ref, expected[k].next) << k;
      EXPECT_EQ(obj.child_obj_ref, expected[k].child) << k;
    }
    // The squares point at the first object of their chains.
    EXPECT_EQ(document->maps[0].tile_obj_refs[0 * 6 + 2], 0);
    EXPECT_EQ(document->maps[0].tile_obj_refs[2 * 6 + 2], 2);
    EXPECT_EQ(document->maps[0].tile_obj_refs[4 * 6 + 1], 6);
    EXPECT_EQ(document->maps[0].tile_obj_refs[5 * 6 + 3], 7);
    EXPECT_EQ(document->maps[1].tile_obj_refs[1 * 4 + 1], 10);
    EXPECT_EQ(document->maps[1].tile_obj_refs[2 * 4 + 2], 11);
    // The byte order of the file does not show in the document.
    auto text = dump_dungeon(parsed->dungeon);
    ASSERT_TRUE(text);
    if (!previous.empty()) {
      EXPECT_EQ(text_of(*text), previous);
    }
    previous = text_of(*text);
  }
}

// Creatures, chests and missiles nested three thousand deep, each creature
// followed in its chain by a scroll: the walk needs no call stack of that
// depth, and every reference is still that of the depth-first pre-order.
TEST(VoprojectWalk, DeepNestingKeepsThePreOrder) {
  constexpr unsigned kLevels = 1000;
  std::vector<SampleRecord> records;
  for (unsigned k = 0; k < kLevels; ++k) {
    const std::uint16_t next_creature = k + 1 < kLevels ? oid(4, k + 1) : kEnd;
    records.push_back({4, {oid(7, k), oid(9, k), 1, 0, 10, 0, 0, 0, 0}});
    records.push_back({9, {kEnd, oid(14, k), 0, 0}});
    records.push_back({14, {kEnd, next_creature, 0, 0, 0}});
    records.push_back({7, {kEnd, static_cast<std::uint16_t>(k)}});
  }
  auto parsed = parse(one_square(0x30, oid(4, 0), records));
  auto document = build(parsed->dungeon);
  ASSERT_TRUE(document) << document.error().message();
  const auto& objs = document->objs;
  ASSERT_EQ(objs.size(), 4 * kLevels);
  // Holders take positions 0 to 2999; the scrolls follow innermost first.
  for (unsigned k = 0; k < kLevels; ++k) {
    const auto creature = static_cast<std::int32_t>(3 * k);
    EXPECT_EQ(objs[creature].child_obj_ref, creature + 1);
    EXPECT_EQ(objs[creature].next_obj_ref, static_cast<std::int32_t>(3 * kLevels + (kLevels - 1 - k)));
    EXPECT_EQ(objs[creature + 1].child_obj_ref, creature + 2);
    EXPECT_EQ(objs[creature + 2].child_obj_ref, k + 1 < kLevels ? creature + 3 : -1);
  }
  EXPECT_EQ(std::get<ScrollJson>(objs[3 * kLevels].fields).referred_text, kLevels - 1);
  EXPECT_EQ(std::get<ScrollJson>(objs.back().fields).referred_text, 0u);
}

TEST(VoprojectWalk, OneRecordUnderTwoCornersIsTwoIdentifiers) {
  // Two squares of one column name weapon 0 with corners 0 and 1: the
  // identifiers differ, so both squares list it.
  SampleDungeon d = one_square(0x30, oid(5, 0), {{5, {kEnd, 0}}});
  d.maps[0].map_size_word = 0x0800;  // 1 x 2
  d.maps[0].tiles = {0x30, 0x30};
  d.maps[0].first_objects = {oid(5, 0, 0), oid(5, 0, 1)};
  auto parsed = parse(d);
  auto document = build(parsed->dungeon);
  ASSERT_TRUE(document) << document.error().message();
  ASSERT_EQ(document->objs.size(), 2u);
  EXPECT_EQ(document->objs[0].direction, 0u);
  EXPECT_EQ(document->objs[1].direction, 1u);
  EXPECT_EQ(document->maps[0].tile_obj_refs, (std::vector<std::int32_t>{0, 1}));
}

TEST(VoprojectErrors, ExactMessages) {
  struct Case {
    const char* name;
    SampleDungeon dungeon;
    std::string message;
  };
  // Two squares of one column whose chains meet: both go on to weapon 1.
  SampleDungeon shared = one_square(0x30, oid(5, 0), {{5, {oid(5, 1), 0}}, {5, {kEnd, 0}}, {5, {oid(5, 1), 0}}});
  shared.maps[0].map_size_word = 0x0800;  // 1 x 2
  shared.maps[0].tiles = {0x30, 0x30};
  shared.maps[0].first_objects = {oid(5, 0), oid(5, 2)};
  SampleDungeon second_map = one_square(0x20, 0, {});
  SampleMap wide;
  wide.map_size_word = 0x0880;  // 3 x 2
  wide.tiles = {0x20, 0x20, 0x20, 0x20, 0x20, 0x30};
  wide.first_objects = {0xFFFF};
  second_map.maps.push_back(wide);
  second_map.body_offsets = {0, 1};
  SampleDungeon past_type_12 = one_square(0x30, oid(12, 0), {});
  past_type_12.extra_counts[12] = 7;  // counted in the header, but type 12 has no records

  const Case cases[] = {
      {"chain loops on itself", one_square(0x30, oid(10, 0), {{10, {oid(10, 0, 1), 0}}}),
       "cycle detected in OID chain at oid 0x6800"},
      {"held object leads back to its holder", one_square(0x30, oid(9, 0), {{9, {kEnd, oid(7, 0), 0, 0}},
                                                                            {7, {oid(9, 0), 0}}}),
       "cycle detected in OID chain at oid 0x2400"},
      {"two chains share an object", shared, "cycle detected in OID chain at oid 0x1401"},
      {"type without records", past_type_12, "oid 0x3000 (category 12, index 0) past n_records[12] = 0"},
      {"index past the records", one_square(0x30, oid(3, 5), {{3, {}}, {3, {}}, {3, {}}, {3, {}}, {3, {}}}),
       "oid 0x0c05 (category 3, index 5) past n_records[3] = 5"},
      {"held object past the records", one_square(0x30, oid(14, 0), {{14, {kEnd, oid(4, 1), 0, 0, 0}}}),
       "oid 0x1001 (category 4, index 1) past n_records[4] = 0"},
      {"square whose first object ends the chain", one_square(0x30, kEnd, {}),
       "dangling tile object at map 0 (0, 0): column entry is FREE or END"},
      {"square on a later map", second_map, "dangling tile object at map 1 (2, 1): column entry is FREE or END"},
  };
  for (const Case& c : cases) {
    SampleDungeon d = c.dungeon;
    for (auto& r : d.records) r.fields.resize(samples::record_field_widths(r.type).size(), kEnd);
    auto parsed = parse(d);
    auto document = dump_dungeon(parsed->dungeon);
    ASSERT_FALSE(document) << c.name;
    EXPECT_EQ(document.error().message(), c.message) << c.name;
  }
}

TEST(VoprojectErrors, SquareWithoutObjectListEntry) {
  auto parsed = parse(small_dungeon(Order::Little));
  parsed->dungeon.object_list.pop_back();  // the wall square's actuator on map 1
  auto document = build(parsed->dungeon);
  ASSERT_FALSE(document);
  EXPECT_EQ(document.error().message(), "dangling tile object at map 1 (0, 0): column entry is FREE or END");
}

}  // namespace
}  // namespace zarv::dungeon
