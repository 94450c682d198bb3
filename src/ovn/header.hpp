#pragma once
// The fixed-layout records at the start of a hunk executable: the common
// header after its two magic bytes, and the 12-byte hunk header of which the
// table holds one per hunk. Both are always big-endian.
#include <array>
#include <cstddef>
#include <cstdint>

#include "codec/byte_order.hpp"
#include "codec/record.hpp"

namespace zarv::ovn {

// The two bytes every module starts with. They precede CommonHeader and are
// checked on their own, so a foreign file fails as BadMagic before any field
// is read.
inline constexpr std::array<std::uint8_t, 2> kMagic = {0x61, 0x60};

// File bytes 2 to 19. Every field but n_hunks is kept as read and written
// back unchanged.
struct CommonHeader {
  std::uint16_t checksum = 0;  // weighted sum over bytes 4..19 and the hunk table
  std::uint16_t unknown_word = 0;
  std::array<std::uint8_t, 8> unknown_bytes{};
  std::uint16_t build_stamp = 0;
  std::uint16_t build_stamp_dup = 0;
  std::uint16_t n_hunks = 0;

  // Size of the whole common header in the file, magic included.
  static constexpr std::size_t kFileSize = 20;
};
ZARV_RECORD(CommonHeader, checksum, unknown_word, unknown_bytes, build_stamp, build_stamp_dup, n_hunks)
ZARV_RECORD_BYTE_ORDER(CommonHeader, codec::ByteOrder::Big)

struct HunkHeader {
  std::uint16_t hunk_type = 0;
  std::uint16_t unknown = 0;
  std::uint32_t file_off = 0;  // where the payload starts in the file
  std::uint32_t size = 0;      // payload length in bytes

  static constexpr std::size_t kSize = 12;
};
ZARV_RECORD(HunkHeader, hunk_type, unknown, file_off, size)
ZARV_RECORD_BYTE_ORDER(HunkHeader, codec::ByteOrder::Big)

static_assert(codec::binary_size<CommonHeader>() + kMagic.size() == CommonHeader::kFileSize);
static_assert(codec::binary_size<HunkHeader>() == HunkHeader::kSize);

// Hunk types the library interprets.
inline constexpr std::uint16_t kBssHunk = 0x10;      // memory sizes and three checksums
inline constexpr std::uint16_t kGuardedHunk = 0x11;  // covered by a byte-sum checksum
inline constexpr std::uint16_t kCodeHunk = 0x12;     // program code, compressed or stored

}  // namespace zarv::ovn
