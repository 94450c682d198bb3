#include <gtest/gtest.h>

#include <string_view>

#include "convert/operations.hpp"
#include "support/hmp_builder.hpp"

namespace zarv::convert {
namespace {

std::vector<std::uint8_t> starting_with(std::string_view magic, std::size_t size) {
  std::vector<std::uint8_t> out(size, 0);
  std::copy(magic.begin(), magic.end(), out.begin());
  return out;
}

TEST(MusicDetectOperation, TagsAsBareText) {
  auto module = std::vector<std::uint8_t>(1084, 0);
  std::copy_n("M.K.", 4, module.begin() + 1080);
  const std::pair<std::vector<std::uint8_t>, std::string_view> cases[] = {
      {starting_with("HMIMIDIP", 8), "hmp"},
      {module, "mod"},
      {starting_with("P41A", 8), "modplayer41a"},
      {starting_with("MThd", 8), "smf"},
  };
  for (const auto& [bytes, tag] : cases) {
    auto result = music_detect(bytes);
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(result->text(), tag);
  }
  auto failure = music_detect(starting_with("RIFF", 8));
  ASSERT_FALSE(failure);
  EXPECT_EQ(failure.error().message(), "unrecognized music container format");
}

TEST(MusicHmpToSmfOperation, ConvertsOrPassesTheReadersMessageOn) {
  auto smf = music_hmp_to_smf(test::hmp_song({}, 120, 0));
  ASSERT_TRUE(smf) << smf.error().message();
  EXPECT_EQ(smf->size(), 14u);

  auto failure = music_hmp_to_smf(starting_with("HMIMIDIP013194", 904));
  ASSERT_FALSE(failure);
  EXPECT_EQ(failure.error().message(), "HMP version marker is [48, 49, 51, 49, 57, 52], only 013195 is supported");
}

}  // namespace
}  // namespace zarv::convert
