#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "codec/internal_fault.hpp"
#include "ffi/result_buffer.hpp"

namespace zarv::ffi {
namespace {

struct FailingError {
  std::string text;
  std::string message() const { return text; }
};
using Result = tl::expected<codec::ByteBuffer, FailingError>;

TEST(Guard, ThrownFaultsBecomeThePanicMessage) {
  const auto throw_fault = []() -> Result { throw InternalFault("zero-width image"); };
  const auto throw_oom = []() -> Result { throw std::bad_alloc(); };
  const auto throw_other = []() -> Result { throw 42; };
  for (ZarvBuffer b : {guarded(throw_fault), guarded(throw_oom), guarded(throw_other)}) {
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.len, 0u);
    ASSERT_NE(b.error, nullptr);
    EXPECT_STREQ(b.error, "panic: internal error while processing input");
    zarv_buffer_free(b);
  }
}

TEST(Guard, ErrorsKeepEveryByteWithNulShownAsSpace) {
  ZarvBuffer b = guarded([]() -> Result { return tl::unexpected(FailingError{std::string("a\0b\0", 4)}); });
  ASSERT_NE(b.error, nullptr);
  EXPECT_EQ(std::string(b.error), "a b ");
  zarv_buffer_free(b);
}

TEST(Guard, EmptySuccessHasNonNullDataAndNothingToFree) {
  ZarvBuffer b = guarded([]() -> Result { return codec::ByteBuffer{}; });
  EXPECT_EQ(b.error, nullptr);
  EXPECT_NE(b.data, nullptr);
  EXPECT_EQ(b.len, 0u);
  zarv_buffer_free(b);
}

TEST(Guard, SuccessIsTrimmedToItsLength) {
  ZarvBuffer b = guarded([]() -> Result {
    codec::ByteBuffer out;
    out.reserve(4096);
    out.append(std::string_view("abc"));
    return out;
  });
  ASSERT_EQ(b.len, 3u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b.data), b.len), "abc");
  zarv_buffer_free(b);  // ASan would report a size mismatch or leak
}

TEST(Utf8, AcceptsValidAndRefusesMalformedSequences) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"{\"a\": \"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"}", true},
      {"\xFF\xFE", false},
      {"\xC0\xAF", false},          // overlong slash
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"abc\xE2\x82", false},       // truncated at the end
      {"abcdefgh\xC3", false},      // truncated after the fast path
  };
  for (const auto& c : cases) {
    std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(is_valid_utf8(bytes), c.valid) << c.bytes;
  }
}

}  // namespace
}  // namespace zarv::ffi
