#include "codec/words.hpp"

#include "codec/byte_cursor.hpp"

namespace zarv::codec {

void append_u16_words(ByteBuffer& out, std::span<const std::uint16_t> words, ByteOrder order) {
  std::uint8_t* p = out.prepare(words.size() * 2);
  for (std::uint16_t w : words) {
    store<std::uint16_t>(p, w, order);
    p += 2;
  }
  out.commit(words.size() * 2);
}

ByteBuffer encode_u16_words(std::span<const std::uint16_t> words, bool big) {
  ByteBuffer out;
  append_u16_words(out, words, big ? ByteOrder::Big : ByteOrder::Little);
  return out;
}

std::vector<std::uint16_t> decode_u16_words(std::span<const std::uint8_t> bytes, ByteOrder order) {
  std::vector<std::uint16_t> words(bytes.size() / 2);
  const std::uint8_t* p = bytes.data();
  for (auto& w : words) {
    w = load<std::uint16_t>(p, order);
    p += 2;
  }
  return words;
}

}  // namespace zarv::codec
