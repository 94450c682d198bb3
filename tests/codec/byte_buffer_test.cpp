#include <gtest/gtest.h>

#include <cstdlib>

#include "codec/byte_buffer.hpp"

namespace zarv::codec {
namespace {

TEST(ByteBuffer, GrowsKeepsContentAndReleasesAShrunkBlock) {
  ByteBuffer b;
  for (int i = 0; i < 1000; ++i) b.push_back(static_cast<std::uint8_t>(i));
  b.append(std::string_view("xyz"));
  b.append_fill(2, 0xEE);
  ASSERT_EQ(b.size(), 1005u);
  EXPECT_EQ(b[999], static_cast<std::uint8_t>(999));
  EXPECT_EQ(b[1002], 'z');
  EXPECT_EQ(b[1004], 0xEE);
  b.shrink_to_fit();
  EXPECT_EQ(b.capacity(), 1005u);
  std::uint8_t* p = b.release();
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(b.data(), nullptr);
  std::free(p);
}

TEST(ByteBuffer, CopiesAndMovesOwnTheirBytes) {
  ByteBuffer a(3);
  a[0] = 'a';
  ByteBuffer copy = a;
  copy[0] = 'b';
  EXPECT_EQ(a[0], 'a');
  ByteBuffer moved = std::move(copy);
  EXPECT_EQ(moved[0], 'b');
  EXPECT_EQ(moved.size(), 3u);
  moved.resize(5);
  EXPECT_EQ(moved[4], 0);
}

}  // namespace
}  // namespace zarv::codec
