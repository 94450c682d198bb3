#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dungeon/dungeon.hpp"
#include "dungeon/json/lossless.hpp"
#include "json/record_json.hpp"
#include "samples/dungeon_samples.hpp"

namespace zarv::dungeon {
namespace {

using samples::Order;

ByteOrder to_order(Order o) { return o == Order::Little ? ByteOrder::Little : ByteOrder::Big; }

DungeonDump dump_of(const std::vector<std::uint8_t>& file, ByteOrder order) {
  auto d = Dungeon::parse(file, order);
  EXPECT_TRUE(d) << d.error().message();
  return DungeonDump::from_dungeon(*d);
}

codec::ByteBuffer through_json(const std::vector<std::uint8_t>& file, ByteOrder order) {
  auto text = dump_of(file, order).to_pretty_json();
  EXPECT_TRUE(text);
  auto back = json::from_json<DungeonDump>(text->text());
  EXPECT_TRUE(back) << back.error().message();
  auto bytes = back->reconstruct();
  EXPECT_TRUE(bytes) << bytes.error().message();
  return std::move(*bytes);
}

TEST(LosslessJson, EveryGeneratedDungeonComesBackByteForByte) {
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    for (Order order : {Order::Little, Order::Big}) {
      const unsigned n_maps = 1 + static_cast<unsigned>(seed % 9);
      const auto file =
          samples::build_dungeon(samples::random_dungeon(seed, order, n_maps, seed % 2 ? 32 : 6, 400));
      EXPECT_EQ(through_json(file, to_order(order)), codec::ByteBuffer(file)) << "seed " << seed;
    }
  }
}

TEST(LosslessJson, DocumentStartsWithTagVersionAndOrder) {
  auto text = dump_of(samples::build_dungeon(samples::showcase_dungeon(Order::Big)), ByteOrder::Big).to_pretty_json();
  ASSERT_TRUE(text);
  const std::string s(text->text());
  EXPECT_EQ(s.rfind("{\n  \"format\": \"zarv-dungeon\",\n  \"schema_version\": 1,\n  \"byte_order\": \"Big\",\n  \"header\": {\n",
                    0),
            0u);
  EXPECT_NE(s.find("\"tile_block_seed\": \""), std::string::npos);
  EXPECT_EQ(s.back(), '}');
}

TEST(LosslessJson, OneEditedTileChangesOneByte) {
  const auto file = samples::build_dungeon(samples::showcase_dungeon(Order::Little));
  auto dump = dump_of(file, ByteOrder::Little);
  dump.map_bodies[0].tiles[10] ^= 0x01;
  auto bytes = dump.reconstruct();
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), file.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < file.size(); ++i) differing += (*bytes)[i] != file[i];
  EXPECT_EQ(differing, 1u);
}

TEST(LosslessJson, InconsistentEditsConvertWithoutChecks) {
  const auto file = samples::build_dungeon(samples::showcase_dungeon(Order::Little));
  auto dump = dump_of(file, ByteOrder::Little);
  dump.objects.doors.clear();
  auto bytes = dump.reconstruct();
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), file.size() - 4);
}

TEST(LosslessJson, ReconstructChecksInOrder) {
  const auto file = samples::build_dungeon(samples::showcase_dungeon(Order::Little));
  const DungeonDump good = dump_of(file, ByteOrder::Little);
  struct Case {
    std::string name;
    void (*edit)(DungeonDump&);
    std::string message;
  };
  const std::vector<Case> cases = {
      {"trailing space in the tag", [](DungeonDump& d) { d.format = "zarv-dungeon "; },
       "wrong format tag: \"zarv-dungeon \""},
      {"escaped tag", [](DungeonDump& d) { d.format = "a\"b\\\n"; }, "wrong format tag: \"a\\\"b\\\\\\n\""},
      {"format before version",
       [](DungeonDump& d) {
         d.format = "other";
         d.schema_version = 2;
       },
       "wrong format tag: \"other\""},
      {"version", [](DungeonDump& d) { d.schema_version = 2; }, "wrong format tag: \"zarv-dungeon v2\""},
      {"bodies", [](DungeonDump& d) { d.map_bodies.pop_back(); }, "map_bodies: expected 3, got 2"},
      {"seed padding", [](DungeonDump& d) { d.tile_block_seed = "QUJ"; }, "base64 decode: Invalid padding"},
      {"seed line break", [](DungeonDump& d) { d.tile_block_seed = "QU\nJD"; },
       "base64 decode: Invalid symbol 10, offset 2."},
      // The header's 16-bit counts cannot reach the limit; descriptors can.
      {"block start",
       [](DungeonDump& d) {
         Map wide;
         wide.map_size_word = 0x07C0;  // 32 columns: 64 bytes of column words each
         d.maps.assign(270000, wide);
         d.map_bodies.assign(270000, MapBody{});
       },
       "block_start too large: 17280194 exceeds limit 16777216"},
      {"body past the seed",
       [](DungeonDump& d) { d.maps[0].map_offset = static_cast<std::uint16_t>(d.maps[0].map_offset + 6); },
       "map 0 body (offset 40, len 56) exceeds tile block seed (95)"},
  };
  for (const auto& c : cases) {
    DungeonDump d = good;
    c.edit(d);
    auto result = d.reconstruct();
    ASSERT_FALSE(result) << c.name;
    EXPECT_EQ(result.error().message(), c.message) << c.name;
  }
}

TEST(LosslessJson, BodyEndingExactlyAtTheSeedEndIsAccepted) {
  const auto file = samples::build_dungeon(samples::showcase_dungeon(Order::Little));
  DungeonDump d = dump_of(file, ByteOrder::Little);
  d.maps[0].map_offset = static_cast<std::uint16_t>(d.maps[0].map_offset + 5);  // the 5 trailing bytes
  EXPECT_TRUE(d.reconstruct());
  d.maps[0].map_offset += 1;
  EXPECT_FALSE(d.reconstruct());
}

TEST(LosslessJson, SeedDecodes) {
  DungeonDump d;
  d.format = "zarv-dungeon";
  d.schema_version = 1;
  d.tile_block_seed = "QUJD";
  auto bytes = d.reconstruct();
  ASSERT_TRUE(bytes) << bytes.error().message();
  // No maps and no sections: the header and then the seed itself.
  ASSERT_EQ(bytes->size(), 44u + 3);
  EXPECT_EQ(std::string(bytes->text().substr(44)), "ABC");
}

}  // namespace
}  // namespace zarv::dungeon
