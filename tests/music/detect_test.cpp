#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "music/detect.hpp"

namespace zarv::music {
namespace {

std::vector<std::uint8_t> bytes_with(std::size_t size, std::size_t at, std::string_view magic) {
  std::vector<std::uint8_t> out(size, 0);
  for (std::size_t i = 0; i < magic.size(); ++i) out[at + i] = static_cast<std::uint8_t>(magic[i]);
  return out;
}

TEST(Detect, MagicBytesInOrder) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    Format format;
  };
  auto hmp_with_module_mark = bytes_with(2000, 0, "HMIMIDIP");
  hmp_with_module_mark[1080] = 'M';
  hmp_with_module_mark[1081] = '.';
  hmp_with_module_mark[1082] = 'K';
  hmp_with_module_mark[1083] = '.';
  const Case cases[] = {
      {"hmp, nothing else", bytes_with(8, 0, "HMIMIDIP"), Format::Hmp},
      {"hmp wins over a module mark", hmp_with_module_mark, Format::Hmp},
      {"smf", bytes_with(14, 0, "MThd"), Format::Smf},
      {"MThd is tested before P41A", bytes_with(8, 0, "MThdP41A"), Format::Smf},
      {"packed module", bytes_with(8, 0, "P41A"), Format::PackedMod},
      {"module mark at 1080 in 1084 bytes", bytes_with(1084, 1080, "M.K."), Format::Mod},
  };
  for (const auto& c : cases) {
    auto result = detect(c.bytes);
    ASSERT_TRUE(result) << c.name << ": " << result.error().message();
    EXPECT_EQ(*result, c.format) << c.name;
  }
}

TEST(Detect, ShortOrUnknownInputs) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string message;
  };
  auto module_cut_short = bytes_with(1084, 1080, "M.K.");
  module_cut_short.pop_back();
  const Case cases[] = {
      {"empty", {}, "input ended before 8 bytes were available (got 0)"},
      {"7 bytes, even with a magic", bytes_with(7, 0, "MThd"), "input ended before 8 bytes were available (got 7)"},
      {"HMIMIDI without its P", bytes_with(8, 0, "HMIMIDIQ"), "unrecognized music container format"},
      {"module mark in 1083 bytes", module_cut_short, "unrecognized music container format"},
      {"module mark one byte early", bytes_with(1084, 1079, "M.K."), "unrecognized music container format"},
  };
  for (const auto& c : cases) {
    auto result = detect(c.bytes);
    ASSERT_FALSE(result) << c.name;
    EXPECT_EQ(result.error().message(), c.message) << c.name;
  }
}

}  // namespace
}  // namespace zarv::music
