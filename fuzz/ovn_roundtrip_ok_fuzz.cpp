// Any input: no crash; the verdict is exactly one byte, 0 or 1.
#include <vector>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer verdict = zarv_ovn_roundtrip_ok(data, size);
  check_contract(verdict);
  if (verdict.error == nullptr) {
    require(verdict.len == 1 && (verdict.data[0] == 0 || verdict.data[0] == 1), "the verdict is not one byte 0 or 1");
    // An identical round trip means nothing follows the last payload: one
    // extra byte must turn the verdict to 0.
    if (verdict.data[0] == 1) {
      std::vector<uint8_t> longer(data, data + size);
      longer.push_back(0);
      ZarvBuffer again = zarv_ovn_roundtrip_ok(longer.data(), longer.size());
      check_contract(again);
      require(again.error == nullptr && again.len == 1 && again.data[0] == 0, "a trailing byte went unnoticed");
      zarv_buffer_free(again);
    }
  }
  zarv_buffer_free(verdict);
  return 0;
}
