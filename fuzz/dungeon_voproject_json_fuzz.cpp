// Any input: no crash and no hang, also on looping or shared object chains.
// The editor-project export parses the file exactly as the lossless export
// does, so an input that one rejects the other rejects with the same
// message; and a document, when there is one, is a JSON object.
#include <cstring>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer document = zarv_dungeon_voproject_json(data, size);
  check_contract(document);
  ZarvBuffer lossless = zarv_dungeon_to_json(data, size);
  check_contract(lossless);
  if (lossless.error != nullptr) {
    require(document.error != nullptr && std::strcmp(document.error, lossless.error) == 0,
            "the two dungeon exports disagree on an input that does not parse");
  }
  if (document.error == nullptr) {
    require(document.len >= 2 && document.data[0] == '{' && document.data[document.len - 1] == '}',
            "the editor-project document is not one JSON object");
  }
  zarv_buffer_free(lossless);
  zarv_buffer_free(document);
  return 0;
}
