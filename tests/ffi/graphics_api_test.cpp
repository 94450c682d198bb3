#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "samples/graphics_samples.hpp"
#include "zarv/zarv.h"

namespace {

using Bytes = std::vector<uint8_t>;

const zarv::samples::GraphicsSample& sample_named(const std::string& name) {
  static const auto samples = zarv::samples::graphics_samples();
  for (const auto& s : samples) {
    if (s.name == name) return s;
  }
  throw std::runtime_error("no sample " + name);
}

uint32_t be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

// A little-endian format-5 archive: item 1 an image payload, item 2 a
// 16-colour palette; index entries (1, 1, 1, 0) -> 1 and (1, 0, 9, 0) -> 2.
Bytes one_image_archive(const Bytes& payload) {
  Bytes index = {0x80, 0x01, 0x00, 0x02, 0x00, 0x00,  //
                 1, 1, 1, 0, 0, 0, 0x00, 0x01,        //
                 1, 0, 9, 0, 0, 0, 0x00, 0x02};
  Bytes out = {0x05, 0x80, 0x03, 0x00, static_cast<uint8_t>(index.size()), 0, 0, 0,
               static_cast<uint8_t>(payload.size()), 0, 64, 0};
  for (uint8_t b : index) out.push_back(b);
  for (uint8_t b : payload) out.push_back(b);
  out.resize(out.size() + 64, 0x40);
  return out;
}

TEST(GraphicsApi, DecodesAnImageToAnRgbPng) {
  for (const char* name : {"graphics-v4-le.dat", "graphics-v5-be.dat"}) {
    const auto& sample = sample_named(name);
    const auto& image = sample.images.front();
    ZarvBuffer b = zarv_graphics_decode_png(sample.bytes.data(), sample.bytes.size(), image.cls1, image.cls2,
                                            image.cls4);
    ASSERT_EQ(b.error, nullptr) << b.error;
    ASSERT_GE(b.len, 33u);
    const Bytes signature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(Bytes(b.data, b.data + 8), signature);
    EXPECT_EQ(Bytes(b.data + 12, b.data + 16), (Bytes{'I', 'H', 'D', 'R'}));
    EXPECT_EQ(be32(b.data + 16), image.expected.width);
    EXPECT_EQ(be32(b.data + 20), image.expected.height);
    EXPECT_EQ(b.data[24], 8);  // bits per channel
    EXPECT_EQ(b.data[25], 2);  // RGB
    EXPECT_EQ(b.data[28], 0);  // not interlaced
    zarv_buffer_free(b);
  }
}

TEST(GraphicsApi, OnlyTheLowEightBitsOfAClassNumberCount) {
  const auto& sample = sample_named("graphics-v4-be.dat");
  const auto& image = sample.images.front();
  ASSERT_EQ(image.cls1, 1);
  ZarvBuffer direct = zarv_graphics_decode_png(sample.bytes.data(), sample.bytes.size(), 1, image.cls2, image.cls4);
  const int wide = 0x101;
  ZarvBuffer wrapped =
      zarv_graphics_decode_png(sample.bytes.data(), sample.bytes.size(), static_cast<uint8_t>(wide), image.cls2,
                               image.cls4);
  ASSERT_EQ(direct.error, nullptr);
  ASSERT_EQ(wrapped.error, nullptr);
  EXPECT_EQ(Bytes(direct.data, direct.data + direct.len), Bytes(wrapped.data, wrapped.data + wrapped.len));
  zarv_buffer_free(direct);
  zarv_buffer_free(wrapped);
}

TEST(GraphicsApi, Errors) {
  const auto& damaged = sample_named("graphics-damaged-v4-le.dat");
  struct Case {
    const uint8_t* data;
    size_t len;
    uint8_t cls1, cls2, cls4;
    std::string message;
  };
  const Bytes bad_signature = {0x12, 0x34, 0x01, 0x00};
  const Case cases[] = {
      {nullptr, 100, 1, 1, 0, "input ended before 4 bytes were available (got 0)"},
      {bad_signature.data(), bad_signature.size(), 1, 1, 0, "unrecognized graphics.dat signature: 0x3412"},
      {damaged.bytes.data(), damaged.bytes.size(), 1, 2, 0,
       "graphics image decode failed: FM-Towns C4towns unknown opcode 0xe (only 0x0..0x9, 0xA..0xD, 0xF are "
       "defined)"},
      {damaged.bytes.data(), damaged.bytes.size(), 1, 3, 0,
       "graphics image decode failed: Y-mark = -32 passthrough size mismatch (FmTownsU4): width=8 height=8 "
       "payload_len=135"},
      {damaged.bytes.data(), damaged.bytes.size(), 1, 4, 0,
       "graphics image decode failed: overlay dimensions (24, 24) don't match underlay (16, 16); overlays must "
       "composite over a same-size base"},
      {damaged.bytes.data(), damaged.bytes.size(), 1, 5, 0,
       "no image record for the requested (cls1, cls2, cls4) tuple"},
      {damaged.bytes.data(), damaged.bytes.size(), 200, 0, 0,
       "no image record for the requested (cls1, cls2, cls4) tuple"},
  };
  for (const auto& c : cases) {
    ZarvBuffer b = zarv_graphics_decode_png(c.data, c.len, c.cls1, c.cls2, c.cls4);
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.len, 0u);
    ASSERT_NE(b.error, nullptr);
    EXPECT_EQ(std::string(b.error), c.message);
    zarv_buffer_free(b);
  }
}

TEST(GraphicsApi, AnEmptyImageIsReportedByTheGuard) {
  // Width 0, height 4: it decodes (to nothing) but PNG cannot hold it.
  for (const Bytes& header : {Bytes{0x00, 0x00, 0x04, 0x00}, Bytes{0x04, 0x00, 0x00, 0x00}}) {
    const Bytes archive = one_image_archive(header);
    ZarvBuffer b = zarv_graphics_decode_png(archive.data(), archive.size(), 1, 1, 0);
    ASSERT_NE(b.error, nullptr);
    EXPECT_STREQ(b.error, "panic: internal error while processing input");
    zarv_buffer_free(b);
  }
  // The same archive with a 1 x 1 image works.
  const Bytes archive = one_image_archive({0x01, 0x00, 0x01, 0x00});
  ZarvBuffer b = zarv_graphics_decode_png(archive.data(), archive.size(), 1, 1, 0);
  EXPECT_EQ(b.error, nullptr);
  zarv_buffer_free(b);
}

}  // namespace
