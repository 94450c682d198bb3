#pragma once
// The program code of a type-0x12 hunk. It is either stored as is or
// compressed with a nibble code driven by a frequency table of 16-bit words:
//
//   offset 0     "R#R#"
//   offset 4     N, the number of words of code (u32, big-endian)
//   offset 8     1920 table words (3840 bytes), entries 0 to 1919
//   offset 3848  the nibble stream, high nibble of each byte first
//
// Each word of code is one of three codes:
//   0c d          c in 0..7:  table entry c*16 + d          (entries 0..127)
//   c d e         c in 8..14: table entry c*256 + d*16 + e - 1920
//                                                           (entries 128..1919)
//   F p q r s     a literal word, the bytes pq and rs
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "ovn/error.hpp"

namespace zarv::ovn {

inline constexpr std::array<std::uint8_t, 4> kCompressedCodeMagic = {0x52, 0x23, 0x52, 0x23};
inline constexpr std::size_t kCodeTableEntries = 1920;
// Magic, word count and table: where the nibble stream starts.
inline constexpr std::size_t kNibbleStreamOffset = 8 + 2 * kCodeTableEntries;

struct Code {
  // The code of a type-0x12 payload, which must come out exactly
  // expected_len bytes long. A payload starting with the magic is
  // decompressed (its errors are returned); any other payload is stored code
  // and copied. Errors: those of decompress_nibble_stream, DecompressedSize.
  static tl::expected<codec::ByteBuffer, Error> decompress(std::span<const std::uint8_t> payload,
                                                            std::size_t expected_len);
};

// Decodes a compressed code payload into 2 x N bytes. Errors:
// PayloadTooShort (shorter than magic, count and table), BadMagic,
// NibbleStreamEnded (the stream cannot hold N codes, or a code runs past its
// end). Nothing is returned on failure.
tl::expected<codec::ByteBuffer, Error> decompress_nibble_stream(std::span<const std::uint8_t> payload);

}  // namespace zarv::ovn
