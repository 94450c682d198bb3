#include "ffi/result_buffer.hpp"

#include <cstdlib>
#include <cstring>

namespace zarv::ffi {
namespace {

// Handed out when even the message cannot be allocated; never freed.
char kOutOfMemoryMessage[] = "out of memory";
// Where an empty success points: a valid address that owns no storage.
std::uint8_t kEmptyOutput[1] = {0};

}  // namespace

ZarvBuffer ok_buffer(codec::ByteBuffer&& output) {
  const std::size_t len = output.size();
  if (len == 0) return ZarvBuffer{kEmptyOutput, 0, nullptr};
  output.shrink_to_fit();
  return ZarvBuffer{output.release(), len, nullptr};
}

ZarvBuffer error_buffer(std::string_view message) noexcept {
  auto* text = static_cast<char*>(std::malloc(message.size() + 1));
  if (text == nullptr) return ZarvBuffer{nullptr, 0, kOutOfMemoryMessage};
  for (std::size_t i = 0; i < message.size(); ++i) text[i] = message[i] == '\0' ? ' ' : message[i];
  text[message.size()] = '\0';
  return ZarvBuffer{nullptr, 0, text};
}

void release_buffer(ZarvBuffer buf) noexcept {
  if (buf.error != nullptr && buf.error != kOutOfMemoryMessage) std::free(buf.error);
  // An empty success points at kEmptyOutput and owns nothing.
  if (buf.data != nullptr && buf.len != 0) std::free(buf.data);
}

bool is_valid_utf8(std::span<const std::uint8_t> bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    // Fast path over ASCII, eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t chunk;
      std::memcpy(&chunk, bytes.data() + i, 8);
      if ((chunk & 0x8080808080808080ULL) != 0) break;
      i += 8;
    }
    if (i >= n) break;
    const std::uint8_t b = bytes[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra;
    std::uint8_t lo = 0x80;
    std::uint8_t hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      if (b == 0xE0) lo = 0xA0;  // no overlong forms
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (n - i - 1 < extra) return false;
    if (bytes[i + 1] < lo || bytes[i + 1] > hi) return false;
    for (std::size_t k = 2; k <= extra; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace zarv::ffi
