#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "samples/bytes.hpp"
#include "samples/graphics_encoders.hpp"

namespace zarv::samples {

// One image record of a sample archive and the palette indices it must
// decode to (composed over its underlays where it is an overlay).
struct SampleImage {
  std::uint8_t cls1 = 0;
  std::uint8_t cls2 = 0;
  std::uint8_t cls4 = 0;
  std::string form;  // how the payload is stored, for people reading the demo
  Picture expected;
};

// A sample archive: its file name, bytes, and the images it holds. Images
// listed in `broken` are stored damaged on purpose and must fail.
struct GraphicsSample {
  std::string name;
  std::vector<std::uint8_t> bytes;
  std::vector<SampleImage> images;
  std::vector<SampleImage> broken;
};

// Archives of formats 4 and 5 in both byte orders, with every payload form,
// overlays drawn over underlays, and each kind of palette; plus one archive
// with damaged images.
std::vector<GraphicsSample> graphics_samples();

// A large picture for benchmarks: smooth shapes above, flat areas and
// noise below; 4-bit indices, or 8-bit ones when eight_bit.
Picture large_picture(std::uint16_t width, std::uint16_t height, bool eight_bit);

// Graphics archives: the signature word, the item size table, the index
// (item 0) and the items.
void write_graphics_samples(const SampleSink& sink);


}  // namespace zarv::samples
