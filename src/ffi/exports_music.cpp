#include "convert/operations.hpp"
#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

using zarv::ffi::guarded;
using zarv::ffi::input_view;

extern "C" {

ZARV_API ZarvBuffer zarv_music_detect(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::music_detect(input_view(data, len)); });
}

ZARV_API ZarvBuffer zarv_music_hmp_to_smf(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::music_hmp_to_smf(input_view(data, len)); });
}

}  // extern "C"
