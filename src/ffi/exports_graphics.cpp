#include "convert/operations.hpp"
#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

using zarv::ffi::guarded;
using zarv::ffi::input_view;

extern "C" {

ZARV_API ZarvBuffer zarv_graphics_header_json(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::graphics_header_json(input_view(data, len)); });
}

ZARV_API ZarvBuffer zarv_graphics_decode_png(const uint8_t* data, size_t len, uint8_t cls1, uint8_t cls2,
                                             uint8_t cls4) {
  return guarded([&] { return zarv::convert::graphics_decode_png(input_view(data, len), cls1, cls2, cls4); });
}

}  // extern "C"
