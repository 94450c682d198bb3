#pragma once
// The type-0x10 hunk: the module's memory sizes and the stored values of
// three of its four checksums.
#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/byte_cursor.hpp"

namespace zarv::ovn {

// A view of a type-0x10 payload that is known to hold at least kMinSize
// bytes, so no accessor can fail. It borrows the module's input.
class Bss {
 public:
  static constexpr std::size_t kMinSize = 40;

  // The caller guarantees payload.size() >= kMinSize (Ovn::bss checks it).
  explicit Bss(std::span<const std::uint8_t> payload) : payload_(payload) {}

  std::uint32_t bss_and_jump_mem_size() const { return u32_at(0); }
  // Also the exact length of the decompressed code.
  std::uint32_t code_mem_size() const { return u32_at(20); }
  std::uint32_t data_file_size() const { return u32_at(24); }

  // Stored checksums. Offset 34 is itself a word of the payload, which the
  // type-0x10 check leaves out of its own sum.
  static constexpr std::size_t kOwnChecksumOffset = 34;
  std::uint16_t own_checksum() const { return u16_at(kOwnChecksumOffset); }
  std::uint16_t code_checksum() const { return u16_at(36); }
  std::uint16_t guarded_hunk_checksum() const { return u16_at(38); }

  std::span<const std::uint8_t> payload() const { return payload_; }

 private:
  std::uint32_t u32_at(std::size_t offset) const {
    return codec::load<std::uint32_t>(payload_.data() + offset, codec::ByteOrder::Big);
  }
  std::uint16_t u16_at(std::size_t offset) const {
    return codec::load<std::uint16_t>(payload_.data() + offset, codec::ByteOrder::Big);
  }

  std::span<const std::uint8_t> payload_;
};

}  // namespace zarv::ovn
