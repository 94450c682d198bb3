#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "graphics/archive.hpp"
#include "graphics/archive_builder.hpp"

namespace zarv::graphics {
namespace {

using testing::ArchiveBuilder;
using testing::ByteVector;

std::string parse_error(const ByteVector& bytes) {
  auto archive = Archive::parse(bytes);
  if (archive) return "parsed";
  return archive.error().message();
}

TEST(ArchiveParse, HeaderErrors) {
  ArchiveBuilder v4;
  v4.version = 4;
  ByteVector item_sizes_short_by_one = ArchiveBuilder{}.bytes();
  item_sizes_short_by_one.push_back(0);  // one byte beyond the last item
  const std::size_t long_length = item_sizes_short_by_one.size();

  struct Case {
    const char* name;
    ByteVector bytes;
    std::string message;
  };
  const Case cases[] = {
      {"three bytes", {0x05, 0x80, 0x01}, "input ended before 4 bytes were available (got 3)"},
      {"no top bit", {0x12, 0x34, 0x01, 0x00}, "unrecognized graphics.dat signature: 0x3412"},
      {"both top bits: little-endian", {0x85, 0x85, 0x01, 0x00},
       "unsupported graphics.dat version: 1413 (only formats 4 and 5 are currently supported)"},
      {"version 6", {0x06, 0x80, 0x01, 0x00},
       "unsupported graphics.dat version: 6 (only formats 4 and 5 are currently supported)"},
      {"no items", {0x05, 0x80, 0x00, 0x00, 0, 0}, "entry sizes cumulative 8 != file size 6"},
      {"no room for item 0's size", {0x05, 0x80, 0x01, 0x00, 0, 0}, "input ended before 8 bytes were available (got 6)"},
      {"size table cut", {0x05, 0x80, 0x03, 0x00, 0, 0, 0, 0, 1}, "input ended before 12 bytes were available (got 9)"},
      // n = 2: a 10-byte header, item 0 declared 10 bytes, 9 left.
      {"index longer than the file",
       {0x04, 0x80, 0x02, 0x00, 10, 0, 0, 0, 0, 0, 0x80, 0x01, 0, 0, 0, 0, 0, 0, 0},
       "ENT1 declares 10 bytes but only 9 are available"},
      {"items end before the file", item_sizes_short_by_one,
       "entry sizes cumulative " + std::to_string(long_length - 1) + " != file size " + std::to_string(long_length)},
      // Item 1 declared 0xFFFF bytes but absent.
      {"items beyond the file", {0x05, 0x80, 0x02, 0x00, 6, 0, 0, 0, 0xFF, 0xFF, 0x80, 0x01, 0, 0, 0, 0},
       "entry sizes cumulative 65551 != file size 16"},
  };
  for (const auto& c : cases) EXPECT_EQ(parse_error(c.bytes), c.message) << c.name;
}

TEST(ArchiveParse, ReadsBothByteOrdersWithABigEndianIndex) {
  for (bool big : {false, true}) {
    ArchiveBuilder b;
    b.big = big;
    b.version = 4;
    b.entry(1, 2, 1, 3, b.add_item({0xAA, 0xBB, 0xCC}));
    b.add_item({});  // an empty item is allowed
    b.entry(0, 0, 11, 0, 0x1234);
    const ByteVector bytes = b.bytes();
    auto archive = Archive::parse(bytes);
    ASSERT_TRUE(archive) << archive.error().message();
    EXPECT_EQ(archive->big_endian(), big);
    EXPECT_EQ(archive->signature(), 0x8004);
    EXPECT_EQ(archive->format_version(), 4);
    EXPECT_EQ(archive->entry_count(), 3);
    ASSERT_EQ(archive->offsets().size(), 4u);
    EXPECT_EQ(archive->offsets()[0], 12u);
    EXPECT_EQ(archive->offsets()[3], bytes.size());
    EXPECT_EQ(archive->item(1).size(), 3u);
    EXPECT_EQ(archive->item(2).size(), 0u);
    EXPECT_EQ(archive->entries().size(), 2u);
    EXPECT_EQ(archive->format_flags(), 0x34);
  }
}

// The index's own failures, starting from a valid index and breaking one
// thing at a time. Inputs are whole archives whose item 0 is `index`.
std::string index_error(const ByteVector& index) {
  ByteVector bytes{0x05, 0x80, 0x01, 0x00};
  testing::put32(bytes, static_cast<std::uint32_t>(index.size()), false);
  bytes.insert(bytes.end(), index.begin(), index.end());
  return parse_error(bytes);
}

std::vector<std::string> frame_messages(const ByteVector& index) {
  ByteVector bytes{0x05, 0x80, 0x01, 0x00};
  testing::put32(bytes, static_cast<std::uint32_t>(index.size()), false);
  bytes.insert(bytes.end(), index.begin(), index.end());
  auto archive = Archive::parse(bytes);
  std::vector<std::string> out;
  if (archive) return out;
  const auto* record = archive.error().get_if<codec::RecordError>();
  if (record == nullptr) return {"not a record error"};
  out.push_back(record->root_cause_text());
  for (const auto& frame : record->frames()) out.push_back(frame.message);
  return out;
}

TEST(Ent1Parse, MagicAndShortInput) {
  EXPECT_EQ(index_error({0x80}), "failed to fill whole buffer");
  EXPECT_EQ(index_error({0x12, 0x34, 0, 0, 0, 0}), "bad magic at 0x0: 4660");
}

TEST(Ent1Parse, TruncationNamesTheFieldThatRanOut) {
  using V = std::vector<std::string>;
  const std::string eof = "failed to fill whole buffer";
  EXPECT_EQ(frame_messages({0x80, 0x01, 0x00}), (V{eof, "While parsing field 'n_raw_entries' in Ent1Raw"}));
  EXPECT_EQ(frame_messages({0x80, 0x01, 0x00, 0x00, 0x00}),
            (V{eof, "While parsing field 'n_type_headers' in Ent1Raw"}));
  EXPECT_EQ(frame_messages({0x80, 0x01, 0x00, 0x00, 0x00, 0x01, 'T'}),
            (V{eof, "While parsing field 'width' in TypeHeader", "While parsing field 'type_headers' in Ent1Raw"}));
  // One entry declared, five of its bytes present: cls6 is the first missing.
  EXPECT_EQ(frame_messages({0x80, 0x01, 0x00, 0x01, 0x00, 0x00, 1, 2, 3, 4, 5}),
            (V{eof, "While parsing field 'cls6' in GraphicFileEntry", "While parsing field 'entries' in Ent1Raw"}));
  EXPECT_EQ(frame_messages({0x80, 0x01, 0x00, 0x01, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7}),
            (V{eof, "While parsing field 'data' in GraphicFileEntry", "While parsing field 'entries' in Ent1Raw"}));
}

TEST(Ent1Parse, RendersTheBacktraceWithSourceLocations) {
  const std::string message = index_error({0x80, 0x01, 0x00});
  EXPECT_NE(message.find("Backtrace"), std::string::npos);
  EXPECT_NE(message.find("Error: failed to fill whole buffer"), std::string::npos);
  EXPECT_NE(message.find("While parsing field 'n_raw_entries' in Ent1Raw"), std::string::npos);
  EXPECT_NE(message.find("     at src/graphics/ent1.cpp:"), std::string::npos) << message;
}

TEST(Ent1Parse, AcceptsOnlyTheFixedRecordShape) {
  ByteVector expected{0x80, 0x01, 0x00, 0x00, 0x00, 0x07, 'T', 1, 'I', 1, 'D', 1, 'S', 1, 'F', 1, 'G', 1, 'P', 2};
  EXPECT_EQ(index_error(expected), "parsed");
  ByteVector swapped{0x80, 0x01, 0x00, 0x00, 0x00, 0x07, 'I', 1, 'T', 1, 'D', 1, 'S', 1, 'F', 1, 'G', 1, 'P', 2};
  EXPECT_EQ(index_error(swapped),
            "ENT1 field layout [(73, 1), (84, 1), (68, 1), (83, 1), (70, 1), (71, 1), (80, 2)] differs from the "
            "expected T1 I1 D1 S1 F1 G1 P2 (the hardcoded 8-byte record shape)");
  ByteVector too_short{0x80, 0x01, 0x00, 0x00, 0x00, 0x01, 'T', 1};
  EXPECT_EQ(index_error(too_short),
            "ENT1 field layout [(84, 1)] differs from the expected T1 I1 D1 S1 F1 G1 P2 (the hardcoded 8-byte record "
            "shape)");
  // Bytes after the last entry are ignored.
  EXPECT_EQ(index_error({0x80, 0x01, 0x00, 0x00, 0x00, 0x00, 0xEE, 0xEE, 0xEE}), "parsed");
}

TEST(ArchiveFind, LastEntryWinsAndKindsDecideTheResult) {
  ArchiveBuilder b;
  const auto first = b.add_item({1});
  const auto second = b.add_item({2, 2});
  b.entry(3, 4, 1, 5, first).entry(3, 4, 1, 5, second);  // same key: the later wins
  b.entry(0, 0, 11, 0, 999);                              // inline value, not an item number
  b.entry(0, 0, 12, 1, 7);
  b.entry(6, 6, 1, 6, 999);                               // names no item
  b.entry(7, 7, 9, 7, 0);                                 // item 0 is the index itself
  const ByteVector bytes = b.bytes();
  auto archive = Archive::parse(bytes);
  ASSERT_TRUE(archive) << archive.error().message();

  EXPECT_EQ(archive->ent1().entries_with_key(class_key(3, 4, 1, 5)).size(), 2u);
  EXPECT_EQ(archive->ent1().find(3, 4, 1, 5)->data, second);
  EXPECT_EQ(archive->ent1().find(3, 4, 1, 6), nullptr);

  auto image = archive->find(3, 4, 1, 5);
  ASSERT_TRUE(image);
  EXPECT_EQ(std::get<std::span<const std::uint8_t>>(*image).size(), 2u);
  EXPECT_EQ(std::get<EntryValue>(*archive->find(0, 0, 11, 0)).value, 999);
  EXPECT_EQ(std::get<EntryValue>(*archive->find(0, 0, 12, 1)).value, 7);
  EXPECT_FALSE(archive->find(6, 6, 1, 6));
  EXPECT_FALSE(archive->find(9, 9, 9, 9));
  auto index = archive->find(7, 7, 9, 7);
  ASSERT_TRUE(index);
  EXPECT_EQ(std::get<std::span<const std::uint8_t>>(*index).size(), archive->item(0).size());
  EXPECT_EQ(archive->format_flags(), 999 & 0xFF);
}

}  // namespace
}  // namespace zarv::graphics
