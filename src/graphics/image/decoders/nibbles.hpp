#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace zarv::graphics {

// A payload read as 4-bit nibbles: nibble 2k is the high half of byte k,
// nibble 2k + 1 its low half. Multi-nibble values take their first nibble as
// the most significant. Callers ask available() before reading.
class Nibbles {
 public:
  Nibbles(std::span<const std::uint8_t> bytes, std::size_t start)
      : bytes_(bytes), count_(bytes.size() * 2), pos_(start) {}

  bool available(std::size_t n) const { return pos_ <= count_ && count_ - pos_ >= n; }
  std::size_t position() const { return pos_; }

  std::uint8_t next() {
    const std::uint8_t byte = bytes_[pos_ >> 1];
    const std::uint8_t nibble = (pos_ & 1) == 0 ? byte >> 4 : byte & 0x0F;
    ++pos_;
    return nibble;
  }
  std::uint32_t next_value(unsigned nibbles) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < nibbles; ++i) value = value << 4 | next();
    return value;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t count_;
  std::size_t pos_;
};

}  // namespace zarv::graphics
