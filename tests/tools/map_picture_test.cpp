#include <gtest/gtest.h>

#include <string>

#include "map_picture.hpp"
#include "samples/dungeon_samples.hpp"
#include "zarv/zarv.h"

namespace zarv::cli {
namespace {

std::string showcase_document() {
  const auto file = samples::build_dungeon(samples::showcase_dungeon(samples::Order::Little));
  ZarvBuffer b = zarv_dungeon_voproject_json(file.data(), file.size());
  EXPECT_EQ(b.error, nullptr);
  std::string text(reinterpret_cast<const char*>(b.data), b.len);
  zarv_buffer_free(b);
  return text;
}

struct Pixel {
  unsigned r, g, b;
  bool operator==(const Pixel&) const = default;
};

Pixel at(const Picture& p, unsigned x, unsigned y) {
  const std::uint8_t* px = &p.rgb[(std::size_t{y} * p.width + x) * 3];
  return {px[0], px[1], px[2]};
}

constexpr Pixel kFloor{206, 199, 178};
constexpr Pixel kStairs{72, 124, 204};
constexpr Pixel kDoor{176, 104, 40};
constexpr Pixel kObject{250, 214, 40};
constexpr Pixel kStart{40, 220, 90};

// The showcase's first map: 8 x 6 squares, stairs at (6, 4), a creature at
// (2, 2), the party at (2, 3) facing east.
TEST(MapPicture, SquaresLieWhereTheirColumnAndRowSay) {
  std::string error;
  auto plan = read_dungeon_plan(showcase_document(), error);
  ASSERT_TRUE(plan) << error;
  ASSERT_EQ(plan->maps.size(), 3u);
  EXPECT_EQ(plan->start_x, 2u);
  EXPECT_EQ(plan->start_y, 3u);
  EXPECT_EQ(plan->start_dir, 1u);
  const MapGrid& map = plan->maps[0];
  ASSERT_EQ(map.width, 8u);
  ASSERT_EQ(map.height, 6u);

  constexpr unsigned cell = 12;
  const Picture picture = draw_map(map, cell, StartMark{2, 3, 1});
  ASSERT_EQ(picture.width, 8 * cell);
  ASSERT_EQ(picture.height, 6 * cell);
  // Near a cell's corner (clear of the grid line and the object mark), and
  // at its centre.
  auto corner = [&](unsigned x, unsigned y) { return at(picture, x * cell + 2, y * cell + 2); };
  auto centre = [&](unsigned x, unsigned y) { return at(picture, x * cell + cell / 2, y * cell + cell / 2); };
  EXPECT_EQ(corner(6, 4), kStairs);
  EXPECT_EQ(corner(4, 1), kDoor);
  EXPECT_EQ(corner(1, 4), kFloor);
  EXPECT_EQ(centre(4, 1), kObject);
  EXPECT_EQ(centre(2, 2), kObject);
  EXPECT_EQ(centre(3, 3), kFloor);
  // The arrow fills part of the party's square, pointing east: its base
  // spans the left side, the right corners stay floor.
  const unsigned x0 = 2 * cell;
  const unsigned y0 = 3 * cell;
  EXPECT_EQ(at(picture, x0 + 2, y0 + 2), kStart);
  EXPECT_EQ(at(picture, x0 + 2, y0 + cell - 3), kStart);
  EXPECT_EQ(at(picture, x0 + cell - 2, y0 + 2), kFloor);
  EXPECT_EQ(at(picture, x0 + cell - 2, y0 + cell - 2), kFloor);
}

TEST(MapPicture, ArrowPointsTheWayThePartyFaces) {
  MapGrid map;
  map.width = 1;
  map.height = 1;
  map.tiles = {0x20};
  map.has_objects = {false};
  constexpr unsigned cell = 16;
  // Per side (north, east, south, west): a pixel near its middle, and one
  // a quarter of the cell inside. The arrow's base covers the edge pixel of
  // the side behind the party, its tip the inner pixel of the side faced,
  // and neither reaches the edges to the left and right.
  const unsigned edge[4][2] = {{8, 2}, {13, 8}, {8, 13}, {2, 8}};
  const unsigned inner[4][2] = {{8, 4}, {11, 8}, {8, 11}, {4, 8}};
  for (unsigned dir = 0; dir < 4; ++dir) {
    const Picture picture = draw_map(map, cell, StartMark{0, 0, dir});
    auto covered = [&](const unsigned(&p)[2]) { return at(picture, p[0], p[1]) == kStart; };
    EXPECT_TRUE(covered(inner[dir])) << "dir " << dir;
    EXPECT_TRUE(covered(edge[(dir + 2) % 4])) << "dir " << dir;
    EXPECT_FALSE(covered(edge[(dir + 1) % 4])) << "dir " << dir;
    EXPECT_FALSE(covered(edge[(dir + 3) % 4])) << "dir " << dir;
  }
}

TEST(MapPicture, RefusesWhatIsNotAnEditorProjectDocument) {
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {"{\"startX\": 1}", "the editor-project document lacks the party start or the maps"},
      {"{\"startX\":0,\"startY\":0,\"startDir\":0,\"startMap\":0,\"maps\":[{\"width\":2,\"height\":1,"
       "\"tiles\":\"20\",\"tileObjRefs\":[-1,-1]}]}",
       "map 0 of the editor-project document is malformed"},
      {"{\"startX\":0,\"startY\":0,\"startDir\":0,\"startMap\":0,\"maps\":[{\"width\":1,\"height\":1,"
       "\"tiles\":\"2g\",\"tileObjRefs\":[-1]}]}",
       "map 0 of the editor-project document is malformed"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(read_dungeon_plan(c.text, error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
  std::string error;
  EXPECT_FALSE(read_dungeon_plan("{", error));
  EXPECT_EQ(error.rfind("the editor-project document does not parse: ", 0), 0u) << error;
}

TEST(MapPicture, PngHasThePictureSize) {
  MapGrid map;
  map.width = 3;
  map.height = 2;
  map.tiles = {0x00, 0x20, 0x40, 0x60, 0x80, 0xA0};
  map.has_objects = {false, true, false, false, false, false};
  std::string error;
  auto png = encode_png(draw_map(map, 5, std::nullopt), error);
  ASSERT_TRUE(png) << error;
  ASSERT_GT(png->size(), 24u);
  EXPECT_EQ(std::string(png->begin() + 1, png->begin() + 4), "PNG");
  EXPECT_EQ(std::string(png->begin() + 12, png->begin() + 16), "IHDR");
  EXPECT_EQ((*png)[19], 15);  // width 3 x 5, big-endian
  EXPECT_EQ((*png)[23], 10);  // height 2 x 5
}

}  // namespace
}  // namespace zarv::cli
