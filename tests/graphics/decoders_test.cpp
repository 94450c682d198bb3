#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/archive_builder.hpp"
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/nibble_input.hpp"

namespace zarv::graphics {
namespace {

using testing::ByteVector;
using testing::concat;
using testing::nibbles;
using testing::payload_header;

ByteVector pixels_of(const Image& image) { return ByteVector(image.pixels.begin(), image.pixels.end()); }

template <class Result>
std::string error_of(const Result& result) {
  return result ? std::string("decoded") : result.error().message();
}

struct CodecCase {
  const char* name;
  std::uint16_t width;
  std::uint16_t height;
  const char* stream;  // nibbles after the 4-byte header
  ByteVector expected;
};

TEST(C4towns, CommandsAndStoppingRules) {
  const CodecCase cases[] = {
      // Command 2 fills row 0, the next fills row 1 and the buffer is full;
      // the padding column (stride 4) never shows.
      {"short runs wrap rows", 3, 2, "25 2A 17", {5, 5, 5, 0xA, 0xA, 0xA}},
      {"8: run of B + 1", 5, 1, "84 04", {4, 4, 4, 4, 4}},
      {"9: odd literal run starts with C", 3, 1, "9C 02 12", {0xC, 1, 2}},
      {"9: even literal run ignores C", 2, 1, "9C 01 12", {1, 2}},
      {"A: skips 11 pixels", 12, 1, "A9 05", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}},
      {"B: copy B + 1 from above, then C", 2, 2, "9F 01 12 B7 00", {1, 2, 1, 7}},
      {"C: run of W + 1", 4, 2, "C6 00 07", {6, 6, 6, 6, 6, 6, 6, 6}},
      {"D: literal run of W + 1", 4, 1, "D9 00 03 12 34", {1, 2, 3, 4}},
      {"F: copy W + 1 from above, then C", 3, 2, "95 02 67 F8 00 01", {5, 6, 7, 5, 6, 8}},
      {"run cut off at the end of the buffer", 2, 1, "71 72", {1, 1}},
      {"stream ends inside a C command", 4, 1, "13 C5 00", {3, 3, 0, 0}},
      {"stream ends inside literals", 4, 1, "11 D9 00 03 12", {1, 1, 0, 0}},
      {"empty stream", 2, 2, "", {0, 0, 0, 0}},
      // In the first row a copy only advances; the colour lands after it.
      {"copy in the first row advances", 4, 2, "B2 01 43", {0, 0, 2, 3, 3, 3, 3, 3}},
      // A first-row copy past the row end leaves R at 0 and P unwrapped; the
      // next pixel then lands in the padding column of row 1 (P = 7).
      {"first-row copy overshoot", 3, 3, "B5 05 16", {0, 0, 0, 0, 0, 0, 6, 6, 0}},
  };
  for (const auto& c : cases) {
    auto payload = concat(payload_header(c.width, c.height), nibbles(c.stream));
    auto image = parse_format4(payload, false);
    ASSERT_TRUE(image) << c.name << ": " << image.error().message();
    EXPECT_EQ(image->width, c.width) << c.name;
    EXPECT_EQ(image->height, c.height) << c.name;
    EXPECT_EQ(pixels_of(*image), c.expected) << c.name;
    EXPECT_FALSE(image->local_palette) << c.name;
  }
}

TEST(C4towns, UnknownOpcodeDiscardsTheImage) {
  auto payload = concat(payload_header(4, 4), nibbles("13 E0 13"));
  EXPECT_EQ(error_of(parse_format4(payload, false)),
            "FM-Towns C4towns unknown opcode 0xe (only 0x0..0x9, 0xA..0xD, 0xF are defined)");
  // An empty image reads no stream at all.
  for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}}) {
    auto empty = parse_format4(concat(payload_header(w, h), nibbles("E0")), false);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->pixels.size(), 0u);
  }
}

TEST(Body4, CommandsCountsAndStoppingRules) {
  // Nibbles 8 to 13 are the colour table t0..t5 = 1..6; commands follow.
  const CodecCase cases[] = {
      {"table colours and explicit colour", 4, 1, "123456 0 1 5 7F 0", {1, 2, 6, 0xF}},
      {"long counts: 2..16, 0 from the 16-bit form, copy above", 4, 2, "123456 82 AFFF0000 90 E0",
       {1, 1, 1, 1, 2, 2, 1, 1}},
      {"count 17 from the byte form", 17, 1, "923456 8F00", ByteVector(17, 9)},
      {"copy above in the first row only advances", 3, 1, "123456 6 1", {0, 2, 0}},
      {"step cut in its colour nibble", 2, 1, "123456 1 7", {2, 0}},
      {"step cut in its count", 3, 1, "123456 1 8F", {2, 0, 0}},
      {"table cut short: entries stay 0", 2, 1, "12", {0, 0}},
      {"odd width skips the padding column", 3, 2, "123456 8 4", {1, 1, 1, 1, 1, 1}},
  };
  for (const auto& c : cases) {
    auto payload = concat(payload_header(c.width, c.height), nibbles(c.stream));
    auto image = decode_4bit_body(payload, c.width, c.height, false, nullptr);
    ASSERT_TRUE(image) << c.name << ": " << image.error().message();
    EXPECT_EQ(pixels_of(*image), c.expected) << c.name;
  }
}

TEST(Body4, TrailingPaletteIsCutOffTheBody) {
  ByteVector palette{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10, 11, 12, 13, 14, 15};
  // Commands 1 and 0 (the pad nibble); without the cut the palette's first
  // nibble would be read as a third command.
  auto payload = concat(concat(payload_header(3, 1), nibbles("123456 1")), palette);
  auto image = decode_4bit_body(payload, 3, 1, true, nullptr);
  ASSERT_TRUE(image);
  EXPECT_EQ(pixels_of(*image), (ByteVector{2, 1, 0}));
  ASSERT_TRUE(image->local_palette);
  EXPECT_EQ(ByteVector(image->local_palette->begin(), image->local_palette->end()), palette);

  EXPECT_EQ(error_of(decode_4bit_body(ByteVector(19, 0), 1, 1, true, nullptr)),
            "image payload truncated: needed 20 bytes, got 19");
  EXPECT_EQ(error_of(decode_4bit_body(ByteVector(3, 0), 1, 1, false, nullptr)),
            "image payload truncated: needed 4 bytes, got 3");
}

TEST(Body4, TransparentRunsShowTheUnderlay) {
  Image base;
  base.width = 3;
  base.height = 2;
  base.pixels = codec::ByteBuffer(ByteVector{10, 11, 12, 13, 14, 15});
  // With an underlay the table has five entries (nibbles 8..12) and the
  // commands start at nibble 13: 1 (t1 = 2), then code 5 long with n = 1
  // (3 pixels), then explicit colour 9 with the long flag, n = 0 (2 pixels).
  auto payload = concat(payload_header(3, 2), nibbles("12345 1 D1 F9 0"));
  auto image = decode_4bit_body(payload, 3, 2, false, &base);
  ASSERT_TRUE(image) << image.error().message();
  EXPECT_EQ(pixels_of(*image), (ByteVector{2, 11, 12, 13, 9, 9}));
}

TEST(Lz77, LiteralsAndReferences) {
  struct Case {
    const char* name;
    ByteVector data;
    unsigned shift;
    std::size_t expected_len;
    ByteVector expected;
  };
  const Case cases[] = {
      {"literals", {0xFF, 1, 2, 3, 4, 5, 6, 7, 8}, 4, 8, {1, 2, 3, 4, 5, 6, 7, 8}},
      // Distance 2, length 6, read over its own output.
      {"overlapping reference, shift 4", {0x03, 'a', 'b', 0x23, 0x00}, 4, 8, {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b'}},
      {"overlapping reference, shift 5", {0x03, 'a', 'b', 0x43, 0x00}, 5, 8, {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b'}},
      // Shift 4: distance d * 16 + (e >> 4) = 1 * 16 + 0 = 16, length 3.
      {"distance from both bytes", concat(ByteVector{0xFF}, concat(ByteVector(8, 7), concat(ByteVector{0xFF},
           concat(ByteVector(8, 8), ByteVector{0x00, 0x00, 0x01})))), 4, 19,
       concat(ByteVector(8, 7), concat(ByteVector(8, 8), ByteVector{7, 7, 7}))},
      // The longest reference of each shift.
      {"length 18 at shift 4", {0x01, 5, 0x1F, 0x00}, 4, 19, ByteVector(19, 5)},
      {"length 34 at shift 5", {0x01, 5, 0x3F, 0x00}, 5, 35, ByteVector(35, 5)},
  };
  for (const auto& c : cases) {
    auto out = decode_lz77(c.data, c.expected_len, c.shift);
    ASSERT_TRUE(out) << c.name << ": " << out.error().message();
    EXPECT_EQ(ByteVector(out->begin(), out->end()), c.expected) << c.name;
  }
}

TEST(Lz77, Errors) {
  EXPECT_EQ(error_of(decode_lz77(ByteVector{0x00, 0x10, 0x00}, 4, 4)),
            "LZ77 back-reference distance 1 exceeds output position 0");
  EXPECT_EQ(error_of(decode_lz77(ByteVector{0x01, 9, 0x20, 0x00}, 4, 4)),
            "LZ77 back-reference distance 2 exceeds output position 1");
  EXPECT_EQ(error_of(decode_lz77(ByteVector{0x07, 1, 2, 3}, 4, 4)), "decoded 3 pixels but width \u00d7 height = 4");
  // More than promised: the count is exact although nothing beyond the
  // promised size is stored.
  EXPECT_EQ(error_of(decode_lz77(ByteVector{0x01, 9, 0x1F, 0x00, 0x1F, 0x00}, 2, 4)),
            "decoded 37 pixels but width \u00d7 height = 2");
  // A bad reference after the output has overrun is still reported as such.
  EXPECT_EQ(error_of(decode_lz77(ByteVector{0x01, 9, 0x1F, 0x00, 0xF0, 0xFF}, 2, 4)),
            "LZ77 back-reference distance 4095 exceeds output position 19");
  EXPECT_EQ(error_of(decode_lz77(ByteVector{}, 0, 4)), "decoded");
}

TEST(Passthrough, FmTownsRowsAreLowNibbleFirstAndPadded) {
  // Width 5: 3 bytes of pixels per row, padded to 16.
  ByteVector payload = payload_header(5, 2, false, 0x8000);
  payload.resize(40, 0);
  payload[8] = 0x21;
  payload[9] = 0x43;
  payload[10] = 0xF5;  // the high nibble is beyond the width
  payload[24] = 0x87;
  auto image = parse_format4(payload, false);
  ASSERT_TRUE(image) << image.error().message();
  EXPECT_EQ(pixels_of(*image), (ByteVector{1, 2, 3, 4, 5, 7, 8, 0, 0, 0}));

  payload.pop_back();
  EXPECT_EQ(error_of(parse_format4(payload, false)),
            "Y-mark = -32 passthrough size mismatch (FmTownsU4): width=5 height=2 payload_len=39");
  EXPECT_EQ(error_of(parse_format4(ByteVector{5, 0, 2}, false)), "image payload truncated: needed 4 bytes, got 3");
  EXPECT_EQ(error_of(parse_format4(concat(payload_header(5, 2, false, 0x8000), {0, 0, 0}), false)),
            "image payload truncated: needed 8 bytes, got 7");
}

TEST(Passthrough, Format5Forms) {
  for (bool big : {false, true}) {
    // Bits4, 3 x 3: 5 pixel bytes, high nibble first; the 10th nibble drops.
    ByteVector bits4 = payload_header(3, 3, big, 0x8000);
    testing::put16(bits4, 4, big);
    bits4.insert(bits4.end(), {0, 0, 0, 0, 0x12, 0x34, 0x56, 0x78, 0x9A});
    for (std::uint8_t k = 0; k < 16; ++k) bits4.push_back(static_cast<std::uint8_t>(0xF0 | k));
    ASSERT_EQ(bits4.size(), 31u);
    auto image = parse_format5(bits4, big, false, false);
    ASSERT_TRUE(image) << image.error().message();
    EXPECT_EQ(pixels_of(*image), (ByteVector{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(image->local_palette);
    EXPECT_EQ((*image->local_palette)[0], 0xF0);
    EXPECT_EQ((*image->local_palette)[15], 0xFF);
    bits4.push_back(0);
    EXPECT_EQ(error_of(parse_format5(bits4, big, false, false)),
              "Y-mark = -32 passthrough size mismatch (Bits4): width=3 height=3 payload_len=32");

    ByteVector bits8 = payload_header(2, 2, big, 0x8000);
    testing::put16(bits8, 8, big);
    bits8.insert(bits8.end(), {0, 0, 0, 0, 200, 201, 202, 203});
    image = parse_format5(bits8, big, true, true);
    ASSERT_TRUE(image) << image.error().message();
    EXPECT_EQ(pixels_of(*image), (ByteVector{200, 201, 202, 203}));
    EXPECT_FALSE(image->local_palette);
    bits8.pop_back();
    EXPECT_EQ(error_of(parse_format5(bits8, big, false, false)),
              "Y-mark = -32 passthrough size mismatch (Bits8): width=2 height=2 payload_len=13");

    ByteVector marker6 = payload_header(2, 2, big, 0x8000);
    testing::put16(marker6, 6, big);
    marker6.resize(14, 0);
    EXPECT_EQ(error_of(parse_format5(marker6, big, false, false)),
              "Y-mark = -32 passthrough bit-depth marker 0x0006 is not 0x0004 or 0x0008");
  }
  EXPECT_EQ(error_of(parse_format5(ByteVector(9, 0x80), true, false, false)),
            "image payload truncated: needed 10 bytes, got 9");
  EXPECT_EQ(error_of(parse_format5(ByteVector{1, 0, 1}, false, false, false)),
            "image payload truncated: needed 4 bytes, got 3");
}

TEST(Format5, EightBitFormNeedsTheArchiveFlag) {
  // Y-mark 31; mode byte 6; the stream from byte 8.
  ByteVector lz = concat(payload_header(2, 1, false, 0x7C00), {0, 0, 2, 0, 0x03, 40, 41});
  auto image = parse_format5(lz, false, true, false);
  ASSERT_TRUE(image) << image.error().message();
  EXPECT_EQ(pixels_of(*image), (ByteVector{40, 41}));
  lz[6] = 3;
  EXPECT_TRUE(parse_format5(lz, false, true, false));
  lz[6] = 1;
  EXPECT_EQ(error_of(parse_format5(lz, false, true, false)),
            "8-bit compression mode 1 not yet supported (only modes 2 and 3 are)");
  EXPECT_EQ(error_of(parse_format5(concat(payload_header(2, 1, false, 0x7C00), {0, 0, 2}), false, true, false)),
            "image payload truncated: needed 8 bytes, got 7");

  // Without the flag the same header goes to the 4-bit body codec.
  ByteVector body = concat(payload_header(2, 1, false, 0x7C00), nibbles("123456 1 2"));
  image = parse_format5(body, false, false, false);
  ASSERT_TRUE(image) << image.error().message();
  EXPECT_EQ(pixels_of(*image), (ByteVector{2, 3}));
}

}  // namespace
}  // namespace zarv::graphics
