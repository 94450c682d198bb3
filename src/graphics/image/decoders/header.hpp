#pragma once
#include <cstdint>

#include "codec/byte_cursor.hpp"

namespace zarv::graphics {

// The 4-byte header of every image payload: two words in the archive's
// byte order, each a 10-bit size below a signed 6-bit mark. The X-mark has
// no effect on decoding; two Y-marks select special forms.
struct ImageHeader {
  std::uint16_t word0 = 0;
  std::uint16_t word1 = 0;

  static constexpr std::uint16_t kMarkBits = 0xFC00;
  static constexpr std::uint16_t kPassthroughMark = 0x8000;  // Y-mark -32
  static constexpr std::uint16_t kEightBitMark = 0x7C00;     // Y-mark 31

  // Callers check that 4 bytes are there.
  static ImageHeader read(const std::uint8_t* p, bool big_endian) {
    const auto order = big_endian ? codec::ByteOrder::Big : codec::ByteOrder::Little;
    return {codec::load<std::uint16_t>(p, order), codec::load<std::uint16_t>(p + 2, order)};
  }

  std::uint16_t width() const { return word0 & 0x03FF; }
  std::uint16_t height() const { return word1 & 0x03FF; }
  bool is_passthrough() const { return (word1 & kMarkBits) == kPassthroughMark; }
  bool is_eight_bit() const { return (word1 & kMarkBits) == kEightBitMark; }
};

}  // namespace zarv::graphics
