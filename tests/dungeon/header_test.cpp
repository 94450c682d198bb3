#include <gtest/gtest.h>

#include <vector>

#include "dungeon/header.hpp"
#include "json/record_json.hpp"

namespace zarv::dungeon {
namespace {

std::vector<std::uint8_t> header_bytes() {
  std::vector<std::uint8_t> b(44, 0);
  b[0] = 0x12;  // random_seed
  b[1] = 0x34;
  b[4] = 1;  // n_maps
  return b;
}

TEST(FileHeader, ReadsInEitherOrderAndWritesBackUnchanged) {
  auto bytes = header_bytes();
  auto little = FileHeader::parse(bytes, ByteOrder::Little);
  auto big = FileHeader::parse(bytes, ByteOrder::Big);
  ASSERT_TRUE(little && big);
  EXPECT_EQ(little->random_seed, 0x3412);
  EXPECT_EQ(big->random_seed, 0x1234);
  EXPECT_EQ(little->n_maps, 1);
  EXPECT_EQ(big->n_maps, 1);
  EXPECT_EQ(codec::to_bytes_with_endian(*little, ByteOrder::Little), codec::ByteBuffer(bytes));
  EXPECT_EQ(codec::to_bytes_with_endian(*big, ByteOrder::Big), codec::ByteBuffer(bytes));
}

TEST(FileHeader, ShortInputNamesTheFieldItEndedIn) {
  const std::pair<std::size_t, const char*> cases[] = {
      {0, "random_seed"}, {5, "padding"}, {11, "obj_list_size"}, {43, "n_records"}};
  for (auto [length, field] : cases) {
    std::vector<std::uint8_t> bytes(length, 0);
    auto result = FileHeader::parse(bytes, ByteOrder::Little);
    ASSERT_FALSE(result);
    ASSERT_EQ(result.error().frames().size(), 1u);
    EXPECT_EQ(result.error().frames()[0].message, std::string("While parsing field '") + field + "' in FileHeader");
    EXPECT_EQ(result.error().root_cause_text(), "failed to fill whole buffer");
  }
}

TEST(FileHeader, Plausibility) {
  struct Case {
    std::uint8_t n_maps;
    std::vector<std::uint16_t> counts;
    bool plausible;
  };
  const Case cases[] = {
      {0, {}, false},          {1, {}, true},           {128, {}, true},
      {129, {}, false},        {255, {}, false},        {1, {5000, 5000}, true},
      {1, {5000, 5000, 1}, false}, {1, {65535, 65535}, false},
  };
  for (const auto& c : cases) {
    FileHeader h;
    h.n_maps = c.n_maps;
    for (std::size_t i = 0; i < c.counts.size(); ++i) h.n_records[i] = c.counts[i];
    EXPECT_EQ(h.is_plausible(), c.plausible) << int(c.n_maps);
  }
}

TEST(Map, DerivedValues) {
  struct Case {
    std::uint16_t map_size_word;
    unsigned width, height;
  };
  for (auto c : {Case{0x07C0, 32, 1}, Case{0xF800, 1, 32}, Case{0x0000, 1, 1}, Case{0xFFFF, 32, 32}}) {
    Map m;
    m.map_size_word = c.map_size_word;
    EXPECT_EQ(m.width(), c.width);
    EXPECT_EQ(m.height(), c.height);
  }
  Map m;
  m.num_graphs_word = 0x0F0F;
  m.w12 = 0x00F3;
  EXPECT_EQ(m.wall_graphics_count(), 15u);
  EXPECT_EQ(m.floor_graphics_count(), 15u);
  EXPECT_EQ(m.allowed_creature_types_count(), 15u);
  EXPECT_EQ(m.door_decoration_count(), 3u);
  EXPECT_EQ(m.body_size(), 1u + 15 + 15 + 15 + 3);
}

TEST(Map, RoundTripKeepsEveryByteInBothOrders) {
  Map m{0x0102, 0x0304, 5, 6, 7, 8, 0x090A, 0x0B0C, 0x0D0E, 0x0F10};
  for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
    auto bytes = codec::to_bytes_with_endian(m, order);
    ASSERT_EQ(bytes.size(), 16u);
    auto back = Map::parse(bytes.bytes(), order);
    ASSERT_TRUE(back);
    EXPECT_EQ(codec::to_bytes_with_endian(*back, order), bytes);
    EXPECT_EQ(back->unused_4, 5);
    EXPECT_EQ(back->w14, 0x0F10);
  }
}

TEST(HeaderJson, KeysInDeclarationOrderAndReadBack) {
  FileHeader h;
  h.random_seed = 7;
  h.n_maps = 2;
  h.n_records[15] = 9;
  auto text = json::to_pretty_json(h);
  const std::string s(text.text());
  EXPECT_LT(s.find("\"random_seed\""), s.find("\"map_data_size\""));
  EXPECT_LT(s.find("\"obj_list_size\""), s.find("\"n_records\""));
  auto back = json::from_json<FileHeader>(text.text());
  ASSERT_TRUE(back) << back.error().message();
  EXPECT_EQ(back->n_records[15], 9);
  EXPECT_EQ(back->n_maps, 2);
}

TEST(HeaderJson, ReadingChecksWidthsAndRequiredKeys) {
  const std::string full =
      R"({"map_offset":0,"flags_word":0,"unused_4":0,"unused_5":0,"shift_x":0,"shift_y":0,)"
      R"("map_size_word":0,"num_graphs_word":0,"w12":0,"w14":0})";
  EXPECT_TRUE(json::from_json<Map>(full));
  auto too_wide = json::from_json<Map>(R"({"unused_4":256})");
  ASSERT_FALSE(too_wide);
  EXPECT_EQ(too_wide.error().message(), "invalid value: integer `256`, expected u8 at line 1 column 15");
  auto missing = json::from_json<Map>(R"({"map_offset":0})");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().message(), "missing field `flags_word` at line 1 column 16");
}

}  // namespace
}  // namespace zarv::dungeon
