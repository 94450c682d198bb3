#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "codec/byte_buffer.hpp"
#include "codec/byte_order.hpp"

namespace zarv::codec {

// 2 x n bytes for n 16-bit words, each big-endian when `big`, else little.
ByteBuffer encode_u16_words(std::span<const std::uint16_t> words, bool big);
// Appends the same bytes to `out`.
void append_u16_words(ByteBuffer& out, std::span<const std::uint16_t> words, ByteOrder order);
// Reads bytes.size() / 2 words stored in `order` (a trailing odd byte is not read).
std::vector<std::uint16_t> decode_u16_words(std::span<const std::uint8_t> bytes, ByteOrder order);

}  // namespace zarv::codec
