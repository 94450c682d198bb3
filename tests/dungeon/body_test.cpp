#include <gtest/gtest.h>

#include <vector>

#include "dungeon/body.hpp"

namespace zarv::dungeon {
namespace {

Map map_with(std::uint16_t size_word, std::uint16_t graphs, std::uint16_t w12) {
  Map m;
  m.map_size_word = size_word;
  m.num_graphs_word = graphs;
  m.w12 = w12;
  m.map_offset = 7;
  return m;
}

TEST(MapBody, NeededSizeAndShortSlices) {
  struct Case {
    Map map;
    std::size_t needed;
  };
  const Case cases[] = {
      {map_with(0x0000, 0, 0), 1},
      {map_with(0xFFC0, 0x0F0F, 0x00FF), 32 * 32 + 60},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> slice(c.needed, 0xAB);
    auto body = MapBody::parse(slice, c.map, 0);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->byte_size(), c.needed);
    EXPECT_EQ(body->to_bytes(), codec::ByteBuffer(slice));

    slice.pop_back();
    auto short_body = MapBody::parse(slice, c.map, 3);
    ASSERT_FALSE(short_body);
    EXPECT_EQ(short_body.error().message(),
              "map 3: body needs " + std::to_string(c.needed) + " bytes at map_offset=7 but only " +
                  std::to_string(c.needed - 1) + " remain in the tile-data block");
  }
}

TEST(MapBody, ListsFollowTheTilesInOrderAndExtraBytesStayOut) {
  // 2 x 1 map; 1 creature type, 1 wall, 1 floor, 1 door decoration.
  const Map m = map_with(0x0040, 0x0101, 0x0011);
  const std::vector<std::uint8_t> slice = {0xE5, 0x1F, 1, 2, 3, 4, 99, 98};
  auto body = MapBody::parse(slice, m, 0);
  ASSERT_TRUE(body);
  EXPECT_EQ(body->width, 2);
  EXPECT_EQ(body->height, 1);
  EXPECT_EQ(body->tiles, (std::vector<std::uint8_t>{0xE5, 0x1F}));
  EXPECT_EQ(body->allowed_creature_types, std::vector<std::uint8_t>{1});
  EXPECT_EQ(body->wall_graphics, std::vector<std::uint8_t>{2});
  EXPECT_EQ(body->floor_graphics, std::vector<std::uint8_t>{3});
  EXPECT_EQ(body->door_decoration_graphics, std::vector<std::uint8_t>{4});
  EXPECT_EQ(tile_type(body->tiles[0]), 7u);
  EXPECT_EQ(tile_type(body->tiles[1]), 0u);
  EXPECT_TRUE(tile_has_objects(body->tiles[1]));
  EXPECT_FALSE(tile_has_objects(body->tiles[0]));
}

}  // namespace
}  // namespace zarv::dungeon
