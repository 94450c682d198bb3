// Any text: no crash, no partial output. A file rebuilt from a document
// need not parse again (edits may leave it inconsistent), but when it does,
// its own document must rebuild exactly it.
#include <cstring>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer file = zarv_dungeon_from_json(data, size);
  check_contract(file);
  if (file.error == nullptr) {
    ZarvBuffer json = zarv_dungeon_to_json(file.data, file.len);
    check_contract(json);
    if (json.error == nullptr) {
      ZarvBuffer again = zarv_dungeon_from_json(json.data, json.len);
      check_contract(again);
      require(again.error == nullptr, "a dungeon's own document did not convert back");
      require(again.len == file.len && std::memcmp(again.data, file.data, file.len) == 0,
              "the second round trip changed the bytes");
      zarv_buffer_free(again);
    }
    zarv_buffer_free(json);
  }
  zarv_buffer_free(file);
  return 0;
}
