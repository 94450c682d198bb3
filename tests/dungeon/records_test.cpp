#include <gtest/gtest.h>

#include <vector>

#include "dungeon/object_tables.hpp"
#include "dungeon/oid.hpp"

namespace zarv::dungeon {
namespace {

TEST(Oid, Fields) {
  EXPECT_EQ(oid_type(0x1C05), 7u);
  EXPECT_EQ(oid_index(0x1C05), 5u);
  EXPECT_EQ(oid_position(0x1C05), 0u);
  EXPECT_EQ(oid_position(0x5C05), 1u);
  EXPECT_EQ(oid_index(0x5C05), 5u);
  EXPECT_TRUE(oid_is_reference(0xFFFD));
  EXPECT_FALSE(oid_is_reference(0xFFFE));
  EXPECT_FALSE(oid_is_reference(0xFFFF));
}

TEST(Records, CreatureInBothOrders) {
  const std::vector<std::uint8_t> bytes = {0x01, 0x00, 0x02, 0x00, 0x03, 0x04, 0x05, 0x00,
                                           0x06, 0x00, 0x07, 0x00, 0x08, 0x00, 0x09, 0x00};
  auto little = codec::read_record<Creature>(bytes, ByteOrder::Little);
  ASSERT_TRUE(little);
  EXPECT_EQ(std::vector<unsigned>({little->next_oid, little->next_possession_oid, little->creature_type,
                                   little->internal_id, little->hp, little->anim_seq, little->anim_frame,
                                   little->trigger_loc, little->dir_flags}),
            std::vector<unsigned>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
  auto big = codec::read_record<Creature>(bytes, ByteOrder::Big);
  ASSERT_TRUE(big);
  EXPECT_EQ(std::vector<unsigned>({big->next_oid, big->next_possession_oid, big->creature_type, big->internal_id,
                                   big->hp, big->anim_seq, big->anim_frame, big->trigger_loc, big->dir_flags}),
            std::vector<unsigned>({256, 512, 3, 4, 1280, 1536, 1792, 2048, 2304}));
}

TEST(Records, MissileKeepsItsByteFieldsInBothOrders) {
  const std::vector<std::uint8_t> bytes = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
    auto m = codec::read_record<Missile>(bytes, order);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->range_remaining, 0x55);
    EXPECT_EQ(m->damage_remaining, 0x66);
    EXPECT_EQ(codec::to_bytes_with_endian(*m, order), codec::ByteBuffer(bytes));
  }
}

TEST(ObjectTables, BlockSizeFollowsTheCountsOfRealTypesOnly) {
  FileHeader h;
  EXPECT_EQ(per_type_records_size(h), 0u);
  h.n_records[11] = h.n_records[12] = h.n_records[13] = 7;
  EXPECT_EQ(per_type_records_size(h), 0u);
  for (unsigned t = 0; t < 16; ++t) h.n_records[t] = 1;
  EXPECT_EQ(per_type_records_size(h), 4u * 8 + 6 + 8 * 3 + 16);
}

TEST(ObjectTables, ReadsEachKindInTypeOrderAndWritesTheListsAsTheyAre) {
  std::array<std::uint16_t, 16> counts{};
  counts[0] = 2;   // doors
  counts[4] = 1;   // creature
  counts[15] = 1;  // cloud
  counts[12] = 9;  // no bytes
  std::vector<std::uint8_t> block;
  for (int i = 0; i < 2 * 4 + 16 + 4; ++i) block.push_back(static_cast<std::uint8_t>(i));
  auto tables = ObjectTables::parse(block, counts, ByteOrder::Big);
  ASSERT_TRUE(tables);
  ASSERT_EQ(tables->doors.size(), 2u);
  EXPECT_EQ(tables->doors[1].next_oid, 0x0405);
  EXPECT_EQ(tables->creatures.at(0).next_oid, 0x0809);
  EXPECT_EQ(tables->clouds.at(0).attributes, 0x1A1B);
  EXPECT_TRUE(tables->weapons.empty());
  EXPECT_EQ(tables->to_bytes(ByteOrder::Big), codec::ByteBuffer(block));

  // The header's counts are not consulted when writing.
  tables->doors.pop_back();
  EXPECT_EQ(tables->to_bytes(ByteOrder::Big).size(), block.size() - 4);
}

TEST(ObjectTables, ShortBlockNamesTheRecordField) {
  std::array<std::uint16_t, 16> counts{};
  counts[0] = 1;
  auto tables = ObjectTables::parse(std::vector<std::uint8_t>{1}, counts, ByteOrder::Little);
  ASSERT_FALSE(tables);
  ASSERT_EQ(tables.error().frames().size(), 1u);
  EXPECT_EQ(tables.error().frames()[0].message, "While parsing field 'next_oid' in Door");
}

}  // namespace
}  // namespace zarv::dungeon
