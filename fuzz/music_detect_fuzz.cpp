#include <cstring>
#include <string_view>

#include "fuzz_support.hpp"

// The verdict must follow from the magic bytes alone.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer b = zarv_music_detect(data, size);
  check_contract(b);
  auto at = [&](size_t offset, const char* magic) {
    return size >= offset + 4 && std::memcmp(data + offset, magic, 4) == 0;
  };
  const bool known = size >= 8 && ((at(0, "HMIM") && std::memcmp(data + 4, "IDIP", 4) == 0) || at(0, "MThd") ||
                                   at(0, "P41A") || at(1080, "M.K."));
  require((b.error == nullptr) == known, "verdict does not follow the magic bytes");
  if (b.error == nullptr) {
    const std::string_view tag(reinterpret_cast<const char*>(b.data), b.len);
    require(tag == "hmp" || tag == "smf" || tag == "modplayer41a" || tag == "mod", "unknown tag");
  }
  zarv_buffer_free(b);
  return 0;
}
