#include "ffi/result_buffer.hpp"
#include "zarv/zarv.h"

extern "C" {

ZARV_API const char* zarv_version(void) {
  static const char kVersion[] = "0.2.1";
  return kVersion;
}

ZARV_API void zarv_buffer_free(ZarvBuffer buf) { zarv::ffi::release_buffer(buf); }

}  // extern "C"
