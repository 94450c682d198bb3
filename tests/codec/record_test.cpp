#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "codec/record.hpp"
#include "codec/words.hpp"

namespace zarv::codec {
namespace {

struct Pair {
  std::uint8_t lo;
  std::int16_t hi;
};
constexpr int kPairLine = __LINE__ + 1;
ZARV_RECORD(Pair, lo, hi)

struct Sample {
  std::uint16_t first;
  std::uint8_t second;
  std::uint32_t third;
  std::array<std::uint16_t, 2> fourth;
  Pair fifth;
};
constexpr int kSampleLine = __LINE__ + 1;
ZARV_RECORD(Sample, first, second, third, fourth, fifth)

struct BigOnly {
  std::uint16_t word;
};
ZARV_RECORD(BigOnly, word)
ZARV_RECORD_BYTE_ORDER(BigOnly, ByteOrder::Big)

std::vector<std::uint8_t> v(std::initializer_list<std::uint8_t> bytes) { return bytes; }

TEST(RecordRead, SixteenBitFieldFollowsByteOrderAndBytesDoNot) {
  auto bytes = v({0x01, 0x02, 0x03});
  EXPECT_EQ(read_record<Pair>(bytes, ByteOrder::Little)->hi, 0x0302);
  EXPECT_EQ(read_record<Pair>(bytes, ByteOrder::Big)->hi, 0x0203);
  EXPECT_EQ(read_record<Pair>(bytes, ByteOrder::Little)->lo, 1);
  EXPECT_EQ(read_record<Pair>(bytes, ByteOrder::Big)->lo, 1);
}

TEST(RecordRead, FieldsInDeclarationOrderIncludingArraysAndNestedRecords) {
  // first  second third        fourth            fifth
  auto bytes = v({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0xFF, 0xFE});
  auto little = read_record<Sample>(bytes, ByteOrder::Little);
  ASSERT_TRUE(little);
  EXPECT_EQ(little->first, 0x0201);
  EXPECT_EQ(little->second, 0x03);
  EXPECT_EQ(little->third, 0x07060504u);
  EXPECT_EQ(little->fourth, (std::array<std::uint16_t, 2>{0x0908, 0x0B0A}));
  EXPECT_EQ(little->fifth.lo, 0x0C);
  EXPECT_EQ(little->fifth.hi, static_cast<std::int16_t>(0xFEFF));
  auto big = read_record<Sample>(bytes, ByteOrder::Big);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->third, 0x04050607u);
  EXPECT_EQ(big->fifth.hi, static_cast<std::int16_t>(0xFFFE));
}

TEST(RecordRead, ConsumesExactlyTheRecordAndAdvances) {
  auto bytes = v({1, 2, 3, 4, 5, 6});
  ByteCursor cursor(bytes);
  ASSERT_TRUE(read_record<Pair>(cursor, ByteOrder::Little));
  EXPECT_EQ(cursor.position(), 3u);
  auto second = read_record<Pair>(cursor, ByteOrder::Little);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->lo, 4);
  EXPECT_EQ(cursor.position(), 6u);
  EXPECT_FALSE(read_record<Pair>(cursor, ByteOrder::Little));
}

TEST(RecordWrite, RoundTripsInBothOrders) {
  Sample s{0xA1B2, 0xC3, 0xD4E5F607, {0x1122, 0x3344}, {0x55, -2}};
  for (ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
    ByteBuffer bytes = to_bytes_with_endian(s, order);
    ASSERT_EQ(bytes.size(), binary_size<Sample>());
    auto back = read_record<Sample>(bytes.bytes(), order);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->first, s.first);
    EXPECT_EQ(back->third, s.third);
    EXPECT_EQ(back->fourth, s.fourth);
    EXPECT_EQ(back->fifth.hi, -2);
  }
  ByteBuffer big = to_bytes_with_endian(s, ByteOrder::Big);
  EXPECT_EQ(big[0], 0xA1);
  EXPECT_EQ(big[1], 0xB2);
}

TEST(RecordWrite, FixedOrderRecordsUseTheirOwnOrder) {
  ByteBuffer bytes = to_bytes(BigOnly{0x1234});
  EXPECT_EQ(bytes, ByteBuffer(v({0x12, 0x34})));
  ByteCursor cursor(bytes.bytes());
  EXPECT_EQ(read_record<BigOnly>(cursor)->word, 0x1234);
}

TEST(RecordRead, ShortInputNamesTheFieldThatRanOutInnermostFirst) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> frames;
  };
  const std::vector<Case> cases = {
      {{}, {"While parsing field 'first' in Sample"}},
      {{1, 2, 3, 4, 5}, {"While parsing field 'third' in Sample"}},  // cut inside the third field
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {"While parsing field 'fourth' in Sample"}},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
       {"While parsing field 'hi' in Pair", "While parsing field 'fifth' in Sample"}},
  };
  for (const auto& c : cases) {
    auto result = read_record<Sample>(c.bytes, ByteOrder::Little);
    ASSERT_FALSE(result) << c.bytes.size();
    const RecordError& e = result.error();
    EXPECT_EQ(e.root_cause_text(), "failed to fill whole buffer");
    ASSERT_EQ(e.frames().size(), c.frames.size());
    for (std::size_t i = 0; i < c.frames.size(); ++i) {
      EXPECT_EQ(e.frames()[i].message, c.frames[i]);
      ASSERT_TRUE(e.frames()[i].location);
      EXPECT_EQ(e.frames()[i].location->file, "tests/codec/record_test.cpp");
    }
    EXPECT_EQ(e.frames().back().location->line, kSampleLine);
    if (c.frames.size() == 2) {
      EXPECT_EQ(e.frames()[0].location->line, kPairLine);
    }
  }
}

TEST(Words, EncodeInEitherOrder) {
  const std::vector<std::uint16_t> words = {0x1234, 0xABCD};
  EXPECT_EQ(encode_u16_words(words, false), ByteBuffer(v({0x34, 0x12, 0xCD, 0xAB})));
  EXPECT_EQ(encode_u16_words(words, true), ByteBuffer(v({0x12, 0x34, 0xAB, 0xCD})));
  EXPECT_TRUE(encode_u16_words({}, true).empty());
  auto bytes = v({0x34, 0x12, 0xCD});
  EXPECT_EQ(decode_u16_words(bytes, ByteOrder::Little), std::vector<std::uint16_t>{0x1234});
  EXPECT_EQ(decode_u16_words(bytes, ByteOrder::Big), std::vector<std::uint16_t>{0x3412});
}

}  // namespace
}  // namespace zarv::codec
