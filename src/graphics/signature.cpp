#include "graphics/signature.hpp"

#include "codec/byte_cursor.hpp"

namespace zarv::graphics {

tl::expected<Signature, Error> read_signature(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 4) return tl::unexpected(Error(Truncated{4, bytes.size()}));
  const std::uint8_t b0 = bytes[0];
  const std::uint8_t b1 = bytes[1];
  Signature signature;
  if ((b1 & 0x80) != 0) {
    signature.byte_order = codec::ByteOrder::Little;
  } else if ((b0 & 0x80) != 0) {
    signature.byte_order = codec::ByteOrder::Big;
  } else {
    return tl::unexpected(Error(BadSignature{static_cast<std::uint16_t>(b1 << 8 | b0)}));
  }
  signature.word = codec::load<std::uint16_t>(bytes.data(), signature.byte_order);
  signature.entry_count = codec::load<std::uint16_t>(bytes.data() + 2, signature.byte_order);
  return signature;
}

}  // namespace zarv::graphics
