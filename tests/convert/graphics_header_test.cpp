#include <gtest/gtest.h>

#include <vector>

#include "convert/operations.hpp"

namespace zarv::convert {
namespace {

TEST(GraphicsHeaderJson, Summaries) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::string json;
  };
  const Case cases[] = {
      {{0x05, 0x80, 0x10, 0x00},
       "{\n  \"format_version\": 5,\n  \"byte_order\": \"LE\",\n  \"entry_count\": 16\n}"},
      {{0x80, 0x05, 0x00, 0x10, 0xAA},
       "{\n  \"format_version\": 5,\n  \"byte_order\": \"BE\",\n  \"entry_count\": 16\n}"},
      // Both top bits set: little-endian, bit 15 cleared.
      {{0x85, 0x85, 0x01, 0x02},
       "{\n  \"format_version\": 1413,\n  \"byte_order\": \"LE\",\n  \"entry_count\": 513\n}"},
  };
  for (const auto& c : cases) {
    auto result = graphics_header_json(c.bytes);
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(result->text(), c.json);
  }
}

TEST(GraphicsHeaderJson, Errors) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::string message;
  };
  const Case cases[] = {
      {{}, "input ended before 4 bytes were available (got 0)"},
      {{0x05, 0x80, 0x10}, "input ended before 4 bytes were available (got 3)"},
      {{0x05, 0x00, 0x10, 0x00}, "unrecognized graphics.dat signature: 0x0005"},
      {{0x12, 0x34, 0x00, 0x00}, "unrecognized graphics.dat signature: 0x3412"},
  };
  for (const auto& c : cases) {
    auto result = graphics_header_json(c.bytes);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message(), c.message);
  }
}

}  // namespace
}  // namespace zarv::convert
