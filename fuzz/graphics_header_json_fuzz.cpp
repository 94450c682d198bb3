#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer b = zarv_graphics_header_json(data, size);
  check_contract(b);
  require((b.error == nullptr) == (size >= 4 && ((data[0] | data[1]) & 0x80) != 0), "wrong verdict");
  zarv_buffer_free(b);
  return 0;
}
