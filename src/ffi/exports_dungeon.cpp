#include "convert/operations.hpp"
#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

using zarv::ffi::guarded;
using zarv::ffi::input_view;

extern "C" {

ZARV_API ZarvBuffer zarv_dungeon_to_json(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::dungeon_to_json(input_view(data, len)); });
}

ZARV_API ZarvBuffer zarv_dungeon_from_json(const uint8_t* data, size_t len) {
  const auto text = input_view(data, len);
  if (!zarv::ffi::is_valid_utf8(text)) return zarv::ffi::error_buffer(zarv::ffi::kNotUtf8Message);
  return guarded([&] { return zarv::convert::dungeon_from_json(text); });
}

ZARV_API ZarvBuffer zarv_dungeon_voproject_json(const uint8_t* data, size_t len) {
  return guarded([&] { return zarv::convert::dungeon_voproject_json(input_view(data, len)); });
}

}  // extern "C"
