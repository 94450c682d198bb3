// Any input: no crash, and the summary agrees with the round-trip export on
// whether the module reads at all (a module that reads may still lack the
// sizes hunk the summary needs).
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer info = zarv_ovn_info_json(data, size);
  check_contract(info);
  if (info.error == nullptr) {
    ZarvBuffer verdict = zarv_ovn_roundtrip_ok(data, size);
    check_contract(verdict);
    require(verdict.error == nullptr, "a summarised module failed to parse for the round trip");
    zarv_buffer_free(verdict);
  }
  zarv_buffer_free(info);
  return 0;
}
