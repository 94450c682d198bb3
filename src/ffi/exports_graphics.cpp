#include "convert/operations.hpp"
#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

using zarv::ffi::guarded;
using zarv::ffi::input_view;

extern "C" {

ZARV_API ZarvBuffer zarv_graphics_header_json(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::graphics_header_json(input_view(data, len)); });
}

}  // extern "C"
