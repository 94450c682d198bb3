// The sample generator's encoders are written apart from the decoders; every
// image of every sample archive must come back as the picture it encoded.
#include <gtest/gtest.h>

#include "graphics/archive.hpp"
#include "samples/graphics_samples.hpp"

namespace zarv::graphics {
namespace {

TEST(SampleArchives, EveryImageDecodesToThePictureItEncodes) {
  const auto samples = samples::graphics_samples();
  ASSERT_GE(samples.size(), 4u);
  for (const auto& sample : samples) {
    auto archive = Archive::parse(sample.bytes);
    ASSERT_TRUE(archive) << sample.name << ": " << archive.error().message();
    for (const auto& image : sample.images) {
      SCOPED_TRACE(sample.name + " " + image.form);
      auto decoded = archive->decode_image(image.cls1, image.cls2, image.cls4);
      ASSERT_TRUE(decoded) << decoded.error().message();
      ASSERT_TRUE(*decoded) << "no image or no palette";
      const Image& got = (*decoded)->image;
      EXPECT_EQ(got.width, image.expected.width);
      EXPECT_EQ(got.height, image.expected.height);
      EXPECT_TRUE(std::equal(got.pixels.begin(), got.pixels.end(), image.expected.pixels.begin(),
                             image.expected.pixels.end()));
      const auto palette_entries = (*decoded)->palette.size() / 4;
      EXPECT_TRUE(palette_entries == 16 || palette_entries == 256);
      EXPECT_GT(got.to_png((*decoded)->palette).size(), 0u);
    }
    for (const auto& image : sample.broken) {
      auto decoded = archive->decode_image(image.cls1, image.cls2, image.cls4);
      EXPECT_TRUE(!decoded || !*decoded) << sample.name << " " << image.form << " decoded";
    }
  }
}

}  // namespace
}  // namespace zarv::graphics
