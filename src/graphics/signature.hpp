#pragma once
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_order.hpp"
#include "graphics/error.hpp"

namespace zarv::graphics {

// The archive's first four bytes: the signature word (bit 15 always set,
// the format version below it) and the entry count.
struct Signature {
  codec::ByteOrder byte_order = codec::ByteOrder::Little;
  std::uint16_t word = 0;  // as read in byte_order, bit 15 included
  std::uint16_t entry_count = 0;

  std::uint16_t format_version() const { return word & 0x7FFF; }
};

// Recognises the byte order from the signature word itself: its top bit
// lands in byte 1 for little-endian archives and in byte 0 for big-endian
// ones. The little-endian test comes first, so when both top bits are set the
// archive is little-endian. Fails with Truncated (fewer than 4 bytes) or
// BadSignature.
tl::expected<Signature, Error> read_signature(std::span<const std::uint8_t> bytes);

}  // namespace zarv::graphics
