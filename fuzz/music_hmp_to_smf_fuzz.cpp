#include <cstring>

#include "fuzz_support.hpp"

namespace {

uint32_t u32be(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// A written file is a 14-byte header followed by exactly the MTrk chunks
// it announces, each ending with an end-of-track event.
void check_smf(const uint8_t* p, size_t n) {
  require(n >= 14 && std::memcmp(p, "MThd\0\0\0\6\0\1", 10) == 0 && p[12] == 0 && p[13] == 60, "bad MThd");
  const size_t tracks = static_cast<size_t>(p[10]) << 8 | p[11];
  size_t pos = 14;
  for (size_t t = 0; t < tracks; ++t) {
    require(n - pos >= 8 && std::memcmp(p + pos, "MTrk", 4) == 0, "missing MTrk");
    const size_t length = u32be(p + pos + 4);
    pos += 8;
    require(length >= 4 && length <= n - pos, "MTrk length outside the file");
    require(std::memcmp(p + pos + length - 3, "\xFF\x2F\x00", 3) == 0, "track without end of track");
    pos += length;
  }
  require(pos == n, "bytes after the last track");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ZarvBuffer b = zarv_music_hmp_to_smf(data, size);
  check_contract(b);
  if (b.error == nullptr) check_smf(b.data, b.len);
  zarv_buffer_free(b);
  return 0;
}
