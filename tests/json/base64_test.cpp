#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "json/base64.hpp"

namespace zarv::json {
namespace {

std::span<const std::uint8_t> bytes_of(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Base64, EncodesWithStandardAlphabetAndPadding) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"foobar", "Zm9vYmFy"},
      {"\xfb\xff\xbf", "+/+/"},
  };
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(base64_encode(bytes_of(plain)), encoded);
    auto decoded = base64_decode(encoded);
    ASSERT_TRUE(decoded) << encoded;
    EXPECT_EQ(decoded->text(), plain);
  }
}

TEST(Base64, RoundTripsEveryLengthAndByte) {
  std::mt19937 rng(7);
  for (std::size_t n = 0; n < 200; ++n) {
    std::vector<std::uint8_t> data(n);
    for (auto& b : data) b = static_cast<std::uint8_t>(rng());
    if (n == 199) {
      for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>(i * 37);
    }
    const std::string text = base64_encode(data);
    ASSERT_EQ(text.size(), base64_encoded_size(n));
    auto back = base64_decode(text);
    ASSERT_TRUE(back) << back.error().message();
    EXPECT_EQ(std::vector<std::uint8_t>(back->begin(), back->end()), data);
  }
}

TEST(Base64, RefusesAnythingButTheCanonicalForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"QUJ", "Invalid padding"},
      {"QQ", "Invalid padding"},
      {"QQ=", "Invalid padding"},
      {"QUJDQQ", "Invalid padding"},
      {"Q", "Invalid input length: 1"},
      {"QUJDQ", "Invalid input length: 5"},
      {"QUJD\n", "Invalid symbol 10, offset 4."},
      {"QU\nD", "Invalid symbol 10, offset 2."},
      {"QUJDQUJDQUJDQUJDQUJDQUJDQUJDQUJD QUJD", "Invalid symbol 32, offset 32."},
      {"QUJ*", "Invalid symbol 42, offset 3."},
      {"QUJ-", "Invalid symbol 45, offset 3."},
      {"=QQQ", "Invalid symbol 61, offset 0."},
      {"QQ=A", "Invalid symbol 61, offset 2."},
      {"QQ==QUJD", "Invalid symbol 61, offset 2."},
      {"QUJD====", "Invalid symbol 61, offset 4."},
      {"QUJDQ===", "Invalid symbol 61, offset 5."},
      {"=", "Invalid symbol 61, offset 0."},
      // A stray last byte of a 4n+1 text is named before earlier faults.
      {"*UJD\n", "Invalid symbol 10, offset 4."},
      {"QUJ=", "Invalid last symbol 74, offset 2."},
      {"QR==", "Invalid last symbol 82, offset 1."},
      {"QUJDQR==", "Invalid last symbol 82, offset 5."},
  };
  for (const auto& [text, message] : cases) {
    auto decoded = base64_decode(text);
    ASSERT_FALSE(decoded) << text;
    EXPECT_EQ(decoded.error().message(), message) << text;
  }
}

}  // namespace
}  // namespace zarv::json
