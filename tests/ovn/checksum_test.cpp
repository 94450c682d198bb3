#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ovn/ovn.hpp"
#include "samples/bytes.hpp"
#include "samples/ovn_samples.hpp"

namespace zarv::ovn {
namespace {

using Raw = std::vector<std::uint8_t>;
constexpr auto V = CheckStatus::Valid;
constexpr auto M = CheckStatus::Mismatch;
constexpr auto N = CheckStatus::NotChecked;

std::uint32_t be32(const Raw& b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}
// File offset of hunk i's payload, from its table entry.
std::size_t payload_at(const Raw& module, std::size_t hunk) { return be32(module, 20 + 12 * hunk + 4); }

ChecksumReport report_of(const Raw& bytes) {
  auto ovn = Ovn::parse(bytes);
  if (!ovn) throw std::runtime_error(ovn.error().message());
  return ovn->verify_checksums();
}

// 0x10, 0x11 and compressed 0x12 hunks, every checksum sealed.
Raw valid_module() {
  static const Raw module = samples::ovn_sample_module(samples::ovn_sample_code(2500), Raw(300, 0xC7));
  return module;
}

TEST(OvnChecksums, SampleModuleIsValidThroughout) {
  const auto report = report_of(valid_module());
  for (const auto& check : {report.header, report.bss_hunk, report.guarded_hunk, report.code}) {
    EXPECT_EQ(check.status, V);
    EXPECT_EQ(check.stored, check.computed);
  }
  EXPECT_TRUE(report.all_valid());
}

// Hand-computed: byte 6 (weight 6) is 1 and n_hunks (byte 19) is 1; the
// table's weights restart at 1, so its last byte (the size's low byte, 1)
// weighs 12: 6 + 19 + 12 = 37.
TEST(OvnChecksums, HeaderWeightsAreFileOffsetsThenTablePositions) {
  samples::Bytes b(samples::Order::Big);
  b.u8(0x61).u8(0x60).u16be(37).u16be(0).u8(1).fill(7, 0).u16be(0).u16be(0).u16be(1);
  b.u16be(0).u16be(0).u32be(0).u32be(1);
  const auto report = report_of(b.data());
  EXPECT_EQ(report.header.status, V);
  EXPECT_EQ(report.header.computed, 37);
  EXPECT_EQ(report.bss_hunk.status, N);
  EXPECT_EQ(report.guarded_hunk.status, N);
  EXPECT_EQ(report.code.status, N);
  EXPECT_FALSE(report.all_valid());
}

// Each case changes the sealed sample in one way and says which checks
// must notice.
TEST(OvnChecksums, EachCheckSeesItsOwnBytes) {
  struct Case {
    std::string name;
    std::function<void(Raw&)> change;
    CheckStatus header, bss, guarded, code;
  };
  const Case cases[] = {
      {"stored header checksum", [](Raw& m) { m[3] ^= 1; }, M, V, V, V},
      {"unknown_bytes", [](Raw& m) { m[6] += 1; }, M, V, V, V},
      {"hunk table entry", [](Raw& m) { m[20 + 2] ^= 0x40; }, M, V, V, V},
      {"uninterpreted bss word", [](Raw& m) { m[payload_at(m, 0) + 10] ^= 1; }, V, M, V, V},
      {"stored bss checksum", [](Raw& m) { m[payload_at(m, 0) + 35] ^= 1; }, V, M, V, V},
      {"stored guarded checksum", [](Raw& m) { m[payload_at(m, 0) + 39] ^= 1; }, V, M, M, V},
      {"guarded payload", [](Raw& m) { m[payload_at(m, 1) + 5] ^= 1; }, V, V, M, V},
      {"code table word", [](Raw& m) { m[payload_at(m, 2) + 8] ^= 1; }, V, V, V, M},
      // The declared size no longer matches: the code check cannot be made.
      {"code_mem_size", [](Raw& m) { m[payload_at(m, 0) + 23] += 2; }, V, M, V, N},
      {"code magic", [](Raw& m) { m[payload_at(m, 2)] = 0; }, V, V, V, N},
  };
  for (const auto& c : cases) {
    Raw module = valid_module();
    c.change(module);
    const auto report = report_of(module);
    EXPECT_EQ(report.header.status, c.header) << c.name;
    EXPECT_EQ(report.bss_hunk.status, c.bss) << c.name;
    EXPECT_EQ(report.guarded_hunk.status, c.guarded) << c.name;
    EXPECT_EQ(report.code.status, c.code) << c.name;
    EXPECT_FALSE(report.all_valid()) << c.name;
  }
}

TEST(OvnChecksums, HeaderSumSkipsMagicAndStoredValue) {
  Raw module = valid_module();
  const auto before = report_of(module).header.computed;
  module[2] ^= 0xFF;
  module[3] ^= 0xFF;
  EXPECT_EQ(report_of(module).header.computed, before);
  module[13] += 1;  // last of unknown_bytes: weight 13
  EXPECT_EQ(report_of(module).header.computed, static_cast<std::uint16_t>(before + 13));
}

TEST(OvnChecksums, MissingOrShortHunksAreNotChecked) {
  const Raw code = {0x4E, 0x75, 0x4E, 0x71};
  const Raw guarded = {1, 2, 3};
  const Raw bss = samples::ovn_bss_payload(8, 16, code, guarded);
  struct Case {
    std::string name;
    std::vector<samples::OvnHunk> hunks;
    CheckStatus bss, guarded, code;
  };
  const Case cases[] = {
      {"stored code", {{0x10, bss}, {0x11, guarded}, {0x12, code}}, V, V, V},
      {"no guarded hunk", {{0x10, bss}, {0x12, code}}, V, N, V},
      {"no code hunk", {{0x10, bss}, {0x11, guarded}}, V, V, N},
      {"first of each type counts", {{0x10, bss}, {0x11, guarded}, {0x11, {9}}, {0x12, code}, {0x12, {}}}, V, V, V},
      {"39-byte sizes hunk", {{0x10, Raw(bss.begin(), bss.end() - 1)}, {0x11, guarded}, {0x12, code}}, N, N, N},
      {"no sizes hunk", {{0x11, guarded}, {0x12, code}}, N, N, N},
  };
  for (const auto& c : cases) {
    const auto report = report_of(samples::ovn_module(c.hunks));
    EXPECT_EQ(report.header.status, V) << c.name;
    EXPECT_EQ(report.bss_hunk.status, c.bss) << c.name;
    EXPECT_EQ(report.guarded_hunk.status, c.guarded) << c.name;
    EXPECT_EQ(report.code.status, c.code) << c.name;
    EXPECT_EQ(report.all_valid(), c.bss == V && c.guarded == V && c.code == V) << c.name;
  }
}

}  // namespace
}  // namespace zarv::ovn
