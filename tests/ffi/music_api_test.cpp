#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/hmp_builder.hpp"
#include "zarv/zarv.h"

namespace {

std::string text_of(const ZarvBuffer& b) { return std::string(reinterpret_cast<const char*>(b.data), b.len); }

TEST(MusicApi, DetectNamesTheContainer) {
  const uint8_t smf[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  ZarvBuffer b = zarv_music_detect(smf, sizeof smf);
  ASSERT_EQ(b.error, nullptr);
  EXPECT_EQ(text_of(b), "smf");
  zarv_buffer_free(b);

  // A null pointer is an empty input, whatever the length says.
  b = zarv_music_detect(nullptr, 100);
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.len, 0u);
  ASSERT_NE(b.error, nullptr);
  EXPECT_STREQ(b.error, "input ended before 8 bytes were available (got 0)");
  zarv_buffer_free(b);
}

TEST(MusicApi, HmpToSmf) {
  // One track: a note on channel 2, then its release by running status.
  const auto hmp = zarv::test::hmp_song({{0x80, 0x92, 0x40, 0x50, 0x9E, 0x40, 0x00}}, 120);
  ZarvBuffer b = zarv_music_hmp_to_smf(hmp.data(), hmp.size());
  ASSERT_EQ(b.error, nullptr) << b.error;
  const std::vector<uint8_t> expected = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 60,                      //
      'M', 'T', 'r', 'k', 0, 0, 0, 19, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  //
      0x00, 0x92, 0x40, 0x50, 0x1E, 0x92, 0x40, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(b.data, b.data + b.len), expected);
  zarv_buffer_free(b);

  b = zarv_music_hmp_to_smf(hmp.data(), hmp.size() - 1);
  ASSERT_NE(b.error, nullptr);
  EXPECT_STREQ(b.error, "offset 0x394 (hmp subtrack payload) is outside the 922-byte input");
  zarv_buffer_free(b);
}

}  // namespace
