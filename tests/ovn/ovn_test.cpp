#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ovn/ovn.hpp"
#include "samples/bytes.hpp"
#include "samples/ovn_samples.hpp"

namespace zarv::ovn {
namespace {

using samples::Bytes;
using samples::Order;
using Raw = std::vector<std::uint8_t>;

// Magic, checksum, unknown_word, unknown_bytes, build stamps, n_hunks.
Bytes common_header(std::uint16_t n_hunks) {
  Bytes b(Order::Big);
  b.u8(0x61).u8(0x60).u16be(0xBEEF).u16be(0x0102).fill(8, 0x33).u16be(7).u16be(7).u16be(n_hunks);
  return b;
}

Bytes& hunk_header(Bytes& b, std::uint16_t type, std::uint32_t file_off, std::uint32_t size) {
  return b.u16be(type).u16be(0xAAAA).u32be(file_off).u32be(size);
}

Raw prefix(const Raw& bytes, std::size_t n) { return {bytes.begin(), bytes.begin() + static_cast<long>(n)}; }

TEST(OvnParse, RejectsInputsWithoutTheMagic) {
  for (const Raw& bytes : {Raw{}, Raw{0x61}, Raw{0x60, 0x61, 0, 0}, Raw{0x61, 0x61}}) {
    auto ovn = Ovn::parse(bytes);
    ASSERT_FALSE(ovn);
    EXPECT_EQ(ovn.error().message(), "bad magic: not an OVN structure");
  }
}

// A header or table cut short names the first field whose bytes ran out,
// with exactly one frame: the hunk table adds none of its own.
TEST(OvnParse, TruncationNamesTheFieldThatRanOut) {
  auto one_hunk = common_header(1);
  hunk_header(one_hunk, 0x10, 32, 0);
  const Raw full = one_hunk.take();
  struct Case {
    Raw bytes;
    std::string frame;
  };
  const Case cases[] = {
      {prefix(full, 2), "While parsing field 'checksum' in CommonHeader"},
      {prefix(full, 5), "While parsing field 'unknown_word' in CommonHeader"},
      {prefix(full, 13), "While parsing field 'unknown_bytes' in CommonHeader"},
      {prefix(full, 15), "While parsing field 'build_stamp' in CommonHeader"},
      {prefix(full, 16), "While parsing field 'build_stamp_dup' in CommonHeader"},
      {prefix(full, 19), "While parsing field 'n_hunks' in CommonHeader"},
      {prefix(full, 20), "While parsing field 'hunk_type' in HunkHeader"},
      {prefix(full, 23), "While parsing field 'unknown' in HunkHeader"},
      {prefix(full, 25), "While parsing field 'file_off' in HunkHeader"},
      {prefix(full, 31), "While parsing field 'size' in HunkHeader"},
      // A count far beyond the bytes: refused at the first missing header.
      {common_header(0xFFFF).take(), "While parsing field 'hunk_type' in HunkHeader"},
  };
  for (const auto& c : cases) {
    auto ovn = Ovn::parse(c.bytes);
    ASSERT_FALSE(ovn) << c.frame;
    const auto* codec_error = ovn.error().get_if<codec::RecordError>();
    ASSERT_NE(codec_error, nullptr) << c.frame;
    EXPECT_EQ(codec_error->root_cause_text(), "failed to fill whole buffer");
    ASSERT_EQ(codec_error->frames().size(), 1u) << c.frame;
    EXPECT_EQ(codec_error->frames()[0].message, c.frame);
  }
}

TEST(OvnParse, CodecErrorRendersItsBacktraceWithTheDeclaration) {
  const Raw magic_only = {0x61, 0x60};
  const std::string message = Ovn::parse(magic_only).error().message();
  EXPECT_NE(message.find("Error: failed to fill whole buffer"), std::string::npos) << message;
  EXPECT_NE(message.find("While parsing field 'checksum' in CommonHeader"), std::string::npos) << message;
  EXPECT_NE(message.find("at src/ovn/header.hpp:"), std::string::npos) << message;
}

TEST(OvnParse, PayloadRangesAreCheckedAgainstTheFile) {
  struct Case {
    std::uint32_t first_off, first_size, second_off, second_size;
    std::size_t file_len;
    std::string message;  // empty: parses
  };
  const Case cases[] = {
      {100, 8, 44, 0, 104, "hunk 0: bytes 100..108 outside file of 104 bytes"},
      {96, 8, 44, 0, 104, ""},  // ends exactly at the end of the file
      {44, 4, 50, 60, 104, "hunk 1: bytes 50..110 outside file of 104 bytes"},
      {0, 104, 0, 104, 104, ""},  // overlapping, even covering the header
      {105, 0, 44, 0, 104, "hunk 0: bytes 105..105 outside file of 104 bytes"},
      {0xFFFFFFFF, 0xFFFFFFFF, 44, 0, 104, "hunk 0: bytes 4294967295..8589934590 outside file of 104 bytes"},
  };
  for (const auto& c : cases) {
    auto b = common_header(2);
    hunk_header(b, 0x10, c.first_off, c.first_size);
    hunk_header(b, 0x11, c.second_off, c.second_size);
    b.fill(c.file_len - b.size(), 0);
    auto ovn = Ovn::parse(b.data());
    if (c.message.empty()) {
      EXPECT_TRUE(ovn) << ovn.error().message();
    } else {
      ASSERT_FALSE(ovn);
      EXPECT_EQ(ovn.error().message(), c.message);
    }
  }
}

TEST(OvnParse, ReadsFieldsAndViewsPayloadsInPlace) {
  auto b = common_header(2);
  hunk_header(b, 0x12, 44, 3);
  hunk_header(b, 0x11, 47, 2);
  b.u8(1).u8(2).u8(3).u8(4).u8(5);
  const Raw bytes = b.take();
  auto ovn = Ovn::parse(bytes);
  ASSERT_TRUE(ovn) << ovn.error().message();
  EXPECT_EQ(ovn->header().checksum, 0xBEEF);
  EXPECT_EQ(ovn->header().unknown_word, 0x0102);
  EXPECT_EQ(ovn->header().unknown_bytes[7], 0x33);
  EXPECT_EQ(ovn->header().build_stamp_dup, 7);
  EXPECT_EQ(ovn->header().n_hunks, 2);
  ASSERT_EQ(ovn->hunks().size(), 2u);
  EXPECT_EQ(ovn->hunks()[1].hunk_type, 0x11);
  EXPECT_EQ(ovn->hunks()[1].unknown, 0xAAAA);
  EXPECT_EQ(ovn->hunks()[1].file_off, 47u);
  EXPECT_EQ(ovn->payloads()[0].data(), bytes.data() + 44);
  EXPECT_EQ(ovn->payloads()[1].size(), 2u);
  EXPECT_EQ(ovn->first_hunk(0x11), 1u);
  EXPECT_FALSE(ovn->first_hunk(0x10));
}

TEST(OvnWrite, ContiguousModulesComeBackByteForByte) {
  const Raw empty_module = common_header(0).take();
  const auto code = samples::ovn_sample_code(300);
  const Raw sample = samples::ovn_sample_module(code, Raw(17, 9));
  for (const Raw& bytes : {empty_module, sample}) {
    auto ovn = Ovn::parse(bytes);
    ASSERT_TRUE(ovn) << ovn.error().message();
    const auto written = ovn->to_bytes();
    EXPECT_EQ(Raw(written.begin(), written.end()), bytes);
    EXPECT_EQ(ovn->written_size(), bytes.size());
  }
}

// Payloads are written back to back in hunk order while the table keeps its
// offsets, so only a contiguous layout survives unchanged.
TEST(OvnWrite, OtherLayoutsAreNormalised) {
  auto b = common_header(2);
  hunk_header(b, 0x11, 46, 2);  // second in the file
  hunk_header(b, 0x12, 44, 2);  // first in the file
  b.u8(0xC1).u8(0xC2).u8(0xB1).u8(0xB2).fill(3, 0xEE);  // and 3 stray bytes
  const Raw bytes = b.take();
  auto ovn = Ovn::parse(bytes);
  ASSERT_TRUE(ovn) << ovn.error().message();
  const auto written = ovn->to_bytes();
  Raw expected = prefix(bytes, 44);
  expected.insert(expected.end(), {0xB1, 0xB2, 0xC1, 0xC2});
  EXPECT_EQ(Raw(written.begin(), written.end()), expected);

  auto shared = common_header(2);
  hunk_header(shared, 0x11, 44, 3);
  hunk_header(shared, 0x12, 44, 3);
  shared.u8(1).u8(2).u8(3);
  auto overlapping = Ovn::parse(shared.data());
  ASSERT_TRUE(overlapping);
  EXPECT_EQ(overlapping->written_size(), 50u);
  const auto twice = overlapping->to_bytes();
  EXPECT_EQ(Raw(twice.begin() + 44, twice.end()), (Raw{1, 2, 3, 1, 2, 3}));
}

TEST(OvnBss, FindsTheFirstSizesHunk) {
  auto sizes = [](std::uint32_t marker) {
    Bytes p(Order::Big);
    p.u32be(marker).fill(16, 0).u32be(marker + 1).u32be(marker + 2).fill(12, 0);
    return p.take();
  };
  const Raw bytes = samples::ovn_module({{0x11, Raw(4, 0)}, {0x10, sizes(100)}, {0x10, sizes(900)}});
  auto ovn = Ovn::parse(bytes);
  ASSERT_TRUE(ovn);
  auto bss = ovn->bss();
  ASSERT_TRUE(bss) << bss.error().message();
  EXPECT_EQ(bss->bss_and_jump_mem_size(), 100u);
  EXPECT_EQ(bss->code_mem_size(), 101u);
  EXPECT_EQ(bss->data_file_size(), 102u);
}

TEST(OvnBss, Errors) {
  struct Case {
    Raw module;
    std::string message;
  };
  const Case cases[] = {
      {samples::ovn_module({{0x11, Raw(40, 0)}}), "no hunk of type 0x0010 in module"},
      {samples::ovn_module({{0x10, Raw(39, 0)}, {0x10, Raw(40, 0)}}), "hunk payload too short: need 40 bytes, have 39"},
  };
  for (const auto& c : cases) {
    auto ovn = Ovn::parse(c.module);
    ASSERT_TRUE(ovn);
    auto bss = ovn->bss();
    ASSERT_FALSE(bss);
    EXPECT_EQ(bss.error().message(), c.message);
  }
}

}  // namespace
}  // namespace zarv::ovn
