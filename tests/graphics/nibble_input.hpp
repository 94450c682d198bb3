#pragma once
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace zarv::graphics::testing {

// Bytes from a string of hex nibbles, spaces ignored: "25 2A" is {0x25, 0x2A}.
// An odd count is padded with a 0 nibble.
inline std::vector<std::uint8_t> nibbles(std::string_view hex) {
  std::vector<std::uint8_t> out;
  bool high = true;
  for (char c : hex) {
    if (c == ' ') continue;
    std::uint8_t v;
    if (c >= '0' && c <= '9') {
      v = static_cast<std::uint8_t>(c - '0');
    } else if (c >= 'A' && c <= 'F') {
      v = static_cast<std::uint8_t>(c - 'A' + 10);
    } else {
      throw std::invalid_argument("not a hex nibble");
    }
    if (high) {
      out.push_back(static_cast<std::uint8_t>(v << 4));
    } else {
      out.back() |= v;
    }
    high = !high;
  }
  return out;
}

}  // namespace zarv::graphics::testing
