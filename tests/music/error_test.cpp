#include <gtest/gtest.h>

#include "music/check_range.hpp"
#include "music/error.hpp"

namespace zarv::music {
namespace {

TEST(MusicError, EveryMessage) {
  struct Case {
    Error error;
    std::string message;
  };
  const Case cases[] = {
      {Truncated{904, 12}, "input ended before 904 bytes were available (got 12)"},
      {UnrecognizedFormat{}, "unrecognized music container format"},
      {OutOfRange{"hmp subtrack payload", 0x394, 910}, "offset 0x394 (hmp subtrack payload) is outside the 910-byte input"},
      {SndFormat{1}, "unsupported 'snd ' format: 1 (only format 2 is decoded)"},
      {SndEncoding{0x0f}, "unsupported 'snd ' encoding: 0x0f (only stdSH / 0x00 is decoded)"},
      {SndNoSoundCommand{}, "'snd ' resource has no soundCmd or bufferCmd"},
      {AppleDoubleVersion{0x10000}, "AppleDouble version is 0x00010000, not the expected 0x00020000 (v2)"},
      {AppleDoubleNoResourceFork{}, "AppleDouble wrapper carries no resource fork (no entry id = 2)"},
      {MacBinaryForkTooLarge{5000, 300},
       "MacBinary header matched but its declared 5000-byte resource fork does not fit the 300-byte input"},
      {HmpSignature{{77, 84, 104, 100, 0, 0, 0, 6}},
       "HMP signature mismatch: expected HMIMIDIP, got [77, 84, 104, 100, 0, 0, 0, 6]"},
      {HmpVersion{{48, 49, 51, 49, 57, 52}}, "HMP version marker is [48, 49, 51, 49, 57, 52], only 013195 is supported"},
      {HmpUnknownStatus{2, 0x1a, 0x03}, "HMP track 2 has unknown status byte 0x03 at offset 0x1a"},
      {HmpDeltaUnterminated{1, 0x4, 4}, "HMP track 1 delta-time at offset 0x4 did not terminate within 4 bytes"},
      {P41Invalid{"sample table runs past the end"}, "Player 4.1A structure invalid: sample table runs past the end"},
      {Render{"max_loops = 0 renders endlessly; use LoopRender for streaming"},
       "max_loops = 0 renders endlessly; use LoopRender for streaming"},
      {UnexpectedFormat{Format::Hmp}, "unexpected music format for this operation: Hmp"},
      {UnexpectedFormat{Format::PackedMod},
       "unexpected music format for this operation: Mod (packed with The Player 4.1A)"},
      {UnexpectedFormat{Format::Smf}, "unexpected music format for this operation: Smf"},
      {UnexpectedFormat{Format::Mod}, "unexpected music format for this operation: Mod"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error.message(), c.message);
}

TEST(CheckRange, ViewInsideOrOutOfRange) {
  const std::uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  auto inside = check_range(bytes, 6, 4, "tail");
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->data(), bytes + 6);
  EXPECT_EQ(inside->size(), 4u);
  EXPECT_TRUE(check_range(bytes, 10, 0, "empty at the end"));

  struct Case {
    std::size_t offset, size;
    std::string message;
  };
  const Case failures[] = {
      {7, 4, "offset 0x7 (what) is outside the 10-byte input"},
      {11, 0, "offset 0xb (what) is outside the 10-byte input"},
      // offset + size wraps around: still out of range, not a tiny view.
      {2, SIZE_MAX, "offset 0x2 (what) is outside the 10-byte input"},
      {SIZE_MAX, 2, "offset 0xffffffffffffffff (what) is outside the 10-byte input"},
  };
  for (const auto& c : failures) {
    auto result = check_range(bytes, c.offset, c.size, "what");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message(), c.message);
  }
}

}  // namespace
}  // namespace zarv::music
