#include "convert/operations.hpp"
#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

using zarv::ffi::guarded;
using zarv::ffi::input_view;

namespace {

// The verdict travels to the host as one byte, 1 or 0, like any other output.
zarv::codec::ByteBuffer verdict_byte(bool same) {
  zarv::codec::ByteBuffer out;
  out.push_back(same ? 1 : 0);
  return out;
}

}  // namespace

extern "C" {

ZARV_API ZarvBuffer zarv_ovn_info_json(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::ovn_info_json(input_view(data, len)); });
}

ZARV_API ZarvBuffer zarv_ovn_roundtrip_ok(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::ovn_roundtrip_ok(input_view(data, len)).map(verdict_byte); });
}

}  // extern "C"
