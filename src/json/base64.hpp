#pragma once
// Base64 with the standard alphabet (A-Z a-z 0-9 + /) and "=" padding, used
// for the byte blocks that documents carry as text.
//
// Decoding is strict: the text must be exactly what the encoder would write
// for some bytes. Its failures, as message() renders them:
//   - "Invalid symbol {byte}, offset {offset}.": a byte outside the alphabet
//     (a line break is symbol 10), or an "=" where no padding may be; the
//     byte in decimal, the offset counted from 0 in the text;
//   - "Invalid last symbol {byte}, offset {offset}.": the last symbol before
//     the padding carries bits that no encoder sets;
//   - "Invalid input length: {length}": the last group holds a single symbol,
//     which cannot encode a byte (the length counts the text up to and
//     including that symbol);
//   - "Invalid padding": the padding is missing or not the canonical amount,
//     so the text length is not a multiple of 4 ("QUJ" fails this way).
// When a text has several faults, the first one met scanning from the start
// is reported, except that a stray byte ending a text of length 4n+1 (a
// trailing line break, typically) is reported before anything else.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"

namespace zarv::json {

struct Base64Error {
  enum class Kind : std::uint8_t { InvalidSymbol, InvalidLastSymbol, InvalidLength, InvalidPadding };
  Kind kind = Kind::InvalidPadding;
  std::size_t offset = 0;  // InvalidSymbol, InvalidLastSymbol; the length for InvalidLength
  std::uint8_t byte = 0;   // InvalidSymbol, InvalidLastSymbol

  std::string message() const;
  friend bool operator==(const Base64Error&, const Base64Error&) = default;
};

// Length of the encoded text of n bytes.
constexpr std::size_t base64_encoded_size(std::size_t n) { return (n + 2) / 3 * 4; }

std::string base64_encode(std::span<const std::uint8_t> bytes);
// Appends the encoded text to `out` (no quotes, no separators).
void base64_encode_to(codec::ByteBuffer& out, std::span<const std::uint8_t> bytes);

tl::expected<codec::ByteBuffer, Base64Error> base64_decode(std::string_view text);

}  // namespace zarv::json
