// Any text: no crash, no partial output.
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer b = zarv_dungeon_from_json(data, size);
  check_contract(b);
  zarv_buffer_free(b);
  return 0;
}
