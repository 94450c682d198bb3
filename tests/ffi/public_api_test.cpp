#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zarv/zarv.h"

namespace {

std::string text_of(const ZarvBuffer& b) { return std::string(reinterpret_cast<const char*>(b.data), b.len); }

TEST(PublicApi, VersionIsOneStaticString) {
  const char* first = zarv_version();
  EXPECT_STREQ(first, "0.2.1");
  EXPECT_EQ(zarv_version(), first);
}

TEST(PublicApi, SuccessHasDataAndNoError) {
  const uint8_t bytes[] = {0x05, 0x80, 0x10, 0x00};
  ZarvBuffer b = zarv_graphics_header_json(bytes, sizeof bytes);
  ASSERT_EQ(b.error, nullptr);
  ASSERT_NE(b.data, nullptr);
  EXPECT_EQ(text_of(b), "{\n  \"format_version\": 5,\n  \"byte_order\": \"LE\",\n  \"entry_count\": 16\n}");
  zarv_buffer_free(b);
}

TEST(PublicApi, NullPointerIsAnEmptyInputWhateverTheLength) {
  ZarvBuffer b = zarv_graphics_header_json(nullptr, 100);
  EXPECT_EQ(b.data, nullptr);
  EXPECT_EQ(b.len, 0u);
  ASSERT_NE(b.error, nullptr);
  EXPECT_STREQ(b.error, "input ended before 4 bytes were available (got 0)");
  zarv_buffer_free(b);
}

TEST(PublicApi, LengthLimitsWhatIsRead) {
  const uint8_t bytes[] = {0x05, 0x80, 0x10, 0x00};
  ZarvBuffer b = zarv_graphics_header_json(bytes, 3);
  ASSERT_NE(b.error, nullptr);
  EXPECT_STREQ(b.error, "input ended before 4 bytes were available (got 3)");
  zarv_buffer_free(b);
}

TEST(PublicApi, FreeingAnAllZeroRecordDoesNothing) {
  zarv_buffer_free(ZarvBuffer{nullptr, 0, nullptr});
  SUCCEED();  // the sanitizer build checks that nothing was touched
}

}  // namespace
