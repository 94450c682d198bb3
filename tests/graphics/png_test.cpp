#include <gtest/gtest.h>
#include <spng.h>

#include <memory>
#include <random>
#include <string>

#include "codec/internal_fault.hpp"
#include "graphics/archive_builder.hpp"
#include "graphics/image/image.hpp"

namespace zarv::graphics {
namespace {

using testing::ByteVector;

Image image_of(std::uint16_t width, std::uint16_t height, ByteVector pixels) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels = codec::ByteBuffer(pixels);
  return image;
}

ByteVector rgb_of(const Image& image, const ByteVector& palette) {
  auto rgb = image.to_rgb_buffer(palette);
  if (!rgb) return {};
  return ByteVector(rgb->begin(), rgb->end());
}

TEST(RgbBuffer, SixteenEntryPalettesUseTheLowNibble) {
  ByteVector palette = testing::ramp_palette(16);
  palette[4 * 15] = 200;  // the index byte is not used
  Image image = image_of(3, 1, {0x0F, 0x1F, 0x01});
  image.local_palette = std::array<std::uint8_t, 16>{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(rgb_of(image, palette), (ByteVector{15, 30, 45, 15, 30, 45, 1, 2, 3}));
  // Bytes beyond whole entries are ignored.
  palette.push_back(0xAA);
  EXPECT_EQ(rgb_of(image, palette), (ByteVector{15, 30, 45, 15, 30, 45, 1, 2, 3}));
}

TEST(RgbBuffer, TwoHundredFiftySixEntryPalettesNameTheirIndices) {
  ByteVector palette(1024, 0);
  // Entry 0 and entry 1 both name index 4: the later wins. Index 7 is named
  // by no entry (every other entry names index 200).
  for (std::size_t k = 0; k < 256; ++k) palette[4 * k] = 200;
  palette[0] = 4, palette[1] = 1, palette[2] = 1, palette[3] = 1;
  palette[4] = 4, palette[5] = 40, palette[6] = 41, palette[7] = 42;
  palette[8] = 9, palette[9] = 90, palette[10] = 91, palette[11] = 92;
  Image image = image_of(3, 1, {4, 7, 200});
  EXPECT_EQ(rgb_of(image, palette), (ByteVector{40, 41, 42, 0, 0, 0, 0, 0, 0}));
  // A local palette maps 4-bit pixels to master indices first.
  Image local = image_of(2, 1, {0x00, 0x11});
  local.local_palette = std::array<std::uint8_t, 16>{9, 4};
  EXPECT_EQ(rgb_of(local, palette), (ByteVector{90, 91, 92, 40, 41, 42}));
}

TEST(RgbBuffer, OtherPaletteSizesAreRefused) {
  Image image = image_of(1, 1, {0});
  for (std::size_t size : {0, 60, 128, 384, 1020}) {
    auto rgb = image.to_rgb_buffer(ByteVector(size, 0));
    ASSERT_FALSE(rgb) << size;
    EXPECT_EQ(rgb.error(), "palette must be 16 (console-family) or 256 (PC-family) entries");
  }
}

struct SpngDecoder {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

struct ReadBack {
  spng_ihdr ihdr{};
  ByteVector rgb;
};

ReadBack read_png(const codec::ByteBuffer& png) {
  std::unique_ptr<spng_ctx, SpngDecoder> ctx(spng_ctx_new(0));
  ReadBack out;
  EXPECT_EQ(spng_set_png_buffer(ctx.get(), png.data(), png.size()), 0);
  EXPECT_EQ(spng_get_ihdr(ctx.get(), &out.ihdr), 0);
  std::size_t size = 0;
  EXPECT_EQ(spng_decoded_image_size(ctx.get(), SPNG_FMT_RGB8, &size), 0);
  out.rgb.resize(size);
  EXPECT_EQ(spng_decode_image(ctx.get(), out.rgb.data(), size, SPNG_FMT_RGB8, 0), 0);
  return out;
}

TEST(Png, ReadsBackPixelForPixel) {
  std::mt19937 random(7);
  const std::pair<std::uint16_t, std::uint16_t> sizes[] = {{1, 1}, {3, 2}, {257, 9}, {64, 300}};
  for (std::size_t palette_entries : {16, 256}) {
    ByteVector palette = testing::ramp_palette(palette_entries);
    for (auto [w, h] : sizes) {
      ByteVector pixels(std::size_t{w} * h);
      for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
      // Smooth areas too, so that the filters have something to choose.
      for (std::size_t i = 0; i < pixels.size() / 2; ++i) pixels[i] = static_cast<std::uint8_t>(i / w);
      const Image image = image_of(w, h, pixels);
      const auto png = image.to_png(palette);
      const ReadBack back = read_png(png);
      EXPECT_EQ(back.ihdr.width, w);
      EXPECT_EQ(back.ihdr.height, h);
      EXPECT_EQ(back.ihdr.bit_depth, 8);
      EXPECT_EQ(back.ihdr.color_type, SPNG_COLOR_TYPE_TRUECOLOR);
      EXPECT_EQ(back.ihdr.interlace_method, SPNG_INTERLACE_NONE);
      EXPECT_EQ(back.rgb, rgb_of(image, palette)) << w << "x" << h;
    }
  }
}

TEST(Png, EmptyImagesAndBadPalettesAreInternalFaults) {
  const ByteVector palette = testing::ramp_palette(16);
  EXPECT_THROW(image_of(0, 4, {}).to_png(palette), InternalFault);
  EXPECT_THROW(image_of(4, 0, {}).to_png(palette), InternalFault);
  EXPECT_THROW(image_of(1, 1, {0}).to_png(ByteVector(8, 0)), InternalFault);
}

}  // namespace
}  // namespace zarv::graphics
