#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "samples/bytes.hpp"
#include "samples/ovn_samples.hpp"
#include "zarv/zarv.h"

namespace {

using Raw = std::vector<std::uint8_t>;

// Frees the buffer and returns its text, or "error: ..." for a failure.
std::string take(ZarvBuffer b) {
  std::string out = b.error != nullptr ? "error: " + std::string(b.error)
                                       : std::string(reinterpret_cast<const char*>(b.data), b.len);
  zarv_buffer_free(b);
  return out;
}

Raw sample_module() {
  return zarv::samples::ovn_sample_module(zarv::samples::ovn_sample_code(800), Raw(64, 0x21));
}

TEST(OvnInfoJson, SummarisesSizesAndChecksumVerdict) {
  Raw module = sample_module();
  EXPECT_EQ(take(zarv_ovn_info_json(module.data(), module.size())),
            "{\n  \"n_hunks\": 3,\n  \"bss_and_jump_mem_size\": 74560,\n  \"code_mem_size\": 1600,\n"
            "  \"data_file_size\": 16384,\n  \"checksums_ok\": true\n}");
  module[6] ^= 1;  // unknown_bytes: the header checksum no longer holds
  EXPECT_NE(take(zarv_ovn_info_json(module.data(), module.size())).find("\"checksums_ok\": false"),
            std::string::npos);
}

TEST(OvnInfoJson, Errors) {
  zarv::samples::Bytes outside(zarv::samples::Order::Big);
  outside.u8(0x61).u8(0x60).fill(16, 0).u16be(1).u16be(0x10).u16be(0).u32be(100).u32be(8).fill(72, 0);
  struct Case {
    Raw bytes;
    std::string message;
  };
  const Case cases[] = {
      {{}, "error: bad magic: not an OVN structure"},
      {outside.take(), "error: hunk 0: bytes 100..108 outside file of 104 bytes"},
      {zarv::samples::ovn_module({{0x11, Raw(40, 0)}}), "error: no hunk of type 0x0010 in module"},
      {zarv::samples::ovn_module({{0x10, Raw(39, 0)}}), "error: hunk payload too short: need 40 bytes, have 39"},
  };
  for (const auto& c : cases) EXPECT_EQ(take(zarv_ovn_info_json(c.bytes.data(), c.bytes.size())), c.message);
  EXPECT_EQ(take(zarv_ovn_info_json(nullptr, 50)), "error: bad magic: not an OVN structure");
  const Raw truncated = {0x61, 0x60, 0x00};
  const std::string backtrace = take(zarv_ovn_info_json(truncated.data(), truncated.size()));
  EXPECT_NE(backtrace.find("While parsing field 'checksum' in CommonHeader"), std::string::npos) << backtrace;
}

TEST(OvnRoundtripOk, OneByteVerdictOrAnError) {
  const Raw module = sample_module();
  Raw trailing = module;
  trailing.insert(trailing.end(), {1, 2, 3});
  // Two hunks over the same three bytes: written twice, so longer than the input.
  zarv::samples::Bytes shared(zarv::samples::Order::Big);
  shared.u8(0x61).u8(0x60).fill(16, 0).u16be(2);
  shared.u16be(0x11).u16be(0).u32be(44).u32be(3).u16be(0x12).u16be(0).u32be(44).u32be(3).u8(7).u8(8).u8(9);
  struct Case {
    std::string name;
    Raw bytes;
    int verdict;
  };
  const Case cases[] = {
      {"sample module", module, 1},
      {"header only", zarv::samples::ovn_module({}), 1},
      {"trailing bytes", trailing, 0},
      {"overlapping hunks", shared.take(), 0},
  };
  for (const auto& c : cases) {
    ZarvBuffer b = zarv_ovn_roundtrip_ok(c.bytes.data(), c.bytes.size());
    ASSERT_EQ(b.error, nullptr) << c.name << ": " << b.error;
    ASSERT_EQ(b.len, 1u) << c.name;
    EXPECT_EQ(b.data[0], c.verdict) << c.name;
    zarv_buffer_free(b);
  }
  const Raw foreign = {0x60, 0x61};
  EXPECT_EQ(take(zarv_ovn_roundtrip_ok(foreign.data(), foreign.size())), "error: bad magic: not an OVN structure");
}

}  // namespace
