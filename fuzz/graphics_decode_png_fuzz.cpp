// zarv_graphics_decode_png on any archive bytes. The last three bytes pick
// the class numbers, so one input names both an archive and an image.
#include <cstring>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const size_t archive_size = size - 3;
  const uint8_t* classes = data + archive_size;
  ZarvBuffer b = zarv_graphics_decode_png(data, archive_size, classes[0], classes[1], classes[2]);
  check_contract(b);
  if (b.error == nullptr) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    require(b.len > 33 && std::memcmp(b.data, kSignature, 8) == 0, "success without a PNG");
    require(b.data[25] == 2 && b.data[24] == 8, "not an 8-bit RGB PNG");
  }
  zarv_buffer_free(b);
  return 0;
}
