// Any input: no crash; and every file that converts must come back from its
// own JSON byte for byte.
#include <cstring>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer json = zarv_dungeon_to_json(data, size);
  check_contract(json);
  if (json.error == nullptr) {
    ZarvBuffer back = zarv_dungeon_from_json(json.data, json.len);
    check_contract(back);
    require(back.error == nullptr, "a converted dungeon's JSON did not convert back");
    require(back.len == size && std::memcmp(back.data, data, size) == 0, "the round trip changed the bytes");
    zarv_buffer_free(back);
  }
  zarv_buffer_free(json);
  return 0;
}
