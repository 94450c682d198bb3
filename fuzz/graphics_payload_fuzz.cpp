// The image payload decoders on their own, where a fuzzer reaches every
// codec quickly: the first byte picks the archive format, the byte order,
// the two flags and whether to draw as an overlay over a decoded base.
#include <cstring>

#include "codec/internal_fault.hpp"
#include "fuzz_support.hpp"
#include "graphics/image/decoders/decoders.hpp"

using namespace zarv::graphics;

namespace {

void check_image(const Image& image) {
  require(image.pixels.size() == std::size_t{image.width} * image.height, "pixel count differs from the size");
  require(image.width <= 1023 && image.height <= 1023, "size beyond the header's 10 bits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t options = data[0];
  const Payload payload(data + 1, size - 1);
  const bool big = (options & 0x01) != 0;
  const bool eight_bit = (options & 0x02) != 0;
  const bool trailing = (options & 0x04) != 0;
  auto image = (options & 0x08) != 0 ? parse_format5(payload, big, eight_bit, trailing) : parse_format4(payload, big);
  if (!image) {
    require(!image.error().message().empty(), "empty error message");
    return 0;
  }
  check_image(*image);
  if ((options & 0x10) != 0) {
    // The same payload drawn over the image it decoded to.
    auto overlay = decode_4bit_body(payload, image->width, image->height, trailing, &*image);
    if (overlay) check_image(*overlay);
  }
  return 0;
}
