#include <gtest/gtest.h>

#include <vector>

#include "dungeon/dungeon.hpp"
#include "samples/dungeon_samples.hpp"

namespace zarv::dungeon {
namespace {

using samples::Order;

std::vector<std::uint8_t> showcase(Order order) { return samples::build_dungeon(samples::showcase_dungeon(order)); }

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

// The showcase dungeon's sections: 3 descriptors end at 92, 16 columns at
// 124, 6 object-list words at 136, 4 text words at 144, 82 record bytes at
// 226; the tile data block follows.
TEST(DungeonParse, EachSectionIsCheckedBeforeItIsRead) {
  const auto file = showcase(Order::Little);
  ASSERT_GT(file.size(), 226u);
  struct Case {
    std::size_t length;
    std::string message;
  };
  const Case cases[] = {
      {60, "Dungeon::parse: file too short for 3 map records (need 92 bytes, have 60)"},
      {91, "Dungeon::parse: file too short for 3 map records (need 92 bytes, have 91)"},
      {123, "dungeon.dat truncated: columns array ends at 124 but file is 123 bytes"},
      {130, "dungeon.dat truncated: object list ends at 136 but file is 130 bytes"},
      {143, "dungeon.dat truncated: text data section ends at 144 but file is 143 bytes"},
      {225, "dungeon.dat truncated: per-type records block ends at 226 but file is 225 bytes"},
      // Ending right after the records leaves no body for map 0 (8 x 6 + 8 list bytes).
      {226, "map 0: body needs 56 bytes at map_offset=34 but only 0 remain in the tile-data block"},
  };
  for (const auto& c : cases) {
    auto d = Dungeon::parse(cut(file, c.length), ByteOrder::Little);
    ASSERT_FALSE(d) << c.length;
    EXPECT_EQ(d.error().message(), c.message);
  }
}

TEST(DungeonParse, ReadsEveryStructure) {
  const auto file = showcase(Order::Big);
  auto d = Dungeon::parse(file, ByteOrder::Big);
  ASSERT_TRUE(d) << d.error().message();
  EXPECT_EQ(d->maps.size(), 3u);
  EXPECT_EQ(d->columns.size(), 16u);
  EXPECT_EQ(d->object_list.size(), 6u);
  EXPECT_EQ(d->text_database, (std::vector<std::uint16_t>{0x1234, 0x0BAD, 0xF00D, 0x0000}));
  EXPECT_EQ(d->objects.weapons.size(), 2u);
  EXPECT_EQ(d->objects.creatures.at(0).hp, 120);
  EXPECT_EQ(d->map_bodies[1].width, 5);
  EXPECT_EQ(d->map_bodies[1].tile(1, 1), 0xB0);
  EXPECT_EQ(d->map_bodies[0].door_decoration_graphics, std::vector<std::uint8_t>{6});
}

TEST(DungeonWrite, ReproducesTheFileIncludingGapsOrderAndTrailingBytes) {
  for (Order order : {Order::Little, Order::Big}) {
    const auto file = showcase(order);
    auto d = Dungeon::parse(file, order == Order::Little ? ByteOrder::Little : ByteOrder::Big);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->to_bytes(), codec::ByteBuffer(file));
  }
}

TEST(DungeonWrite, ByteOrdersDifferOnlyInFieldsNotInTheTileBlock) {
  const auto little = showcase(Order::Little);
  const auto big = showcase(Order::Big);
  ASSERT_EQ(little.size(), big.size());
  EXPECT_TRUE(std::equal(little.begin() + 226, little.end(), big.begin() + 226));
  EXPECT_FALSE(std::equal(little.begin(), little.begin() + 226, big.begin()));
}

TEST(DungeonWrite, EditedStructuresAreWrittenAsTheyStand) {
  const auto file = showcase(Order::Little);
  auto d = Dungeon::parse(file, ByteOrder::Little);
  ASSERT_TRUE(d);
  d->map_bodies[2].tiles[4] = 0x77;
  auto edited = d->to_bytes();
  ASSERT_EQ(edited.size(), file.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < file.size(); ++i) differing += edited[i] != file[i];
  EXPECT_EQ(differing, 1u);

  d->objects.doors.clear();  // the header still counts one door
  EXPECT_EQ(d->to_bytes().size(), file.size() - 4);
}

TEST(FirstObjectOnTile, FollowsColumnsAndBitFour) {
  const auto file = showcase(Order::Little);
  auto d = Dungeon::parse(file, ByteOrder::Little);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->first_object_on_tile(0, 0, 2), std::optional<Oid>(0x8C00));  // actuator, corner 2
  EXPECT_EQ(d->first_object_on_tile(0, 2, 2), std::optional<Oid>(0x1000));  // creature
  EXPECT_EQ(d->first_object_on_tile(0, 5, 3), std::optional<Oid>(0x6400));  // chest, corner 1
  EXPECT_EQ(d->first_object_on_tile(1, 2, 2), std::optional<Oid>(0xB800));  // missile, corner 2
  // A square without bit 4 has none, even where its column word is valid.
  EXPECT_EQ(d->first_object_on_tile(0, 2, 3), std::nullopt);
  EXPECT_EQ(d->first_object_on_tile(2, 1, 1), std::nullopt);
  // An object-list index past the list's end gives none.
  d->object_list.pop_back();
  EXPECT_EQ(d->first_object_on_tile(1, 2, 2), std::nullopt);
}

}  // namespace
}  // namespace zarv::dungeon
