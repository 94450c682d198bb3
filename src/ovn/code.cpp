#include "ovn/code.hpp"

#include <cstring>

#include "codec/byte_cursor.hpp"

namespace zarv::ovn {
namespace {

constexpr unsigned kFirstLongCode = 8;   // first nibbles 8..14 start three-nibble codes
constexpr unsigned kLiteralCode = 15;    // first nibble 15 starts a five-nibble literal
constexpr unsigned kLongCodeBias = 1920;  // 0x800 - 1920 = entry 128

unsigned code_length(unsigned first_nibble) {
  if (first_nibble < kFirstLongCode) return 2;
  if (first_nibble < kLiteralCode) return 3;
  return 5;
}

// Writes the word a code stands for. `code` holds the code's nibbles, the
// first one highest; `length` is how many there are.
inline void emit_word(std::uint8_t* dst, const std::uint8_t* table, std::uint32_t code, unsigned length) {
  switch (length) {
    case 2:
      std::memcpy(dst, table + 2 * code, 2);
      break;
    case 3:
      std::memcpy(dst, table + 2 * (code - kLongCodeBias), 2);
      break;
    default:  // F p q r s
      dst[0] = static_cast<std::uint8_t>(code >> 8);
      dst[1] = static_cast<std::uint8_t>(code);
      break;
  }
}

class NibbleDecoder {
 public:
  NibbleDecoder(std::span<const std::uint8_t> stream, const std::uint8_t* table)
      : stream_(stream), table_(table), total_nibbles_(2 * stream.size()) {}

  // Decodes n_words codes into dst (2 x n_words bytes). False when the
  // stream ends inside a code.
  bool decode(std::uint8_t* dst, std::size_t n_words) {
    std::size_t done = decode_fast(dst, n_words);
    dst += 2 * done;
    for (; done < n_words; ++done, dst += 2) {
      if (!decode_one_checked(dst)) return false;
    }
    return true;
  }

 private:
  // While three whole bytes lie ahead, every code (five nibbles at most)
  // can be read from one 24-bit window without further bounds checks.
  std::size_t decode_fast(std::uint8_t* dst, std::size_t n_words) {
    // Locals, not members: the byte stores through dst could otherwise
    // alias them and force a reload per word.
    std::size_t done = 0;
    std::size_t pos = pos_;
    const std::uint8_t* s = stream_.data();
    const std::uint8_t* table = table_;
    const std::size_t n_bytes = stream_.size();
    while (done < n_words && (pos >> 1) + 3 <= n_bytes) {
      const std::uint8_t* p = s + (pos >> 1);
      std::uint32_t window = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
      window = (window << (4 * (pos & 1))) & 0xFFFFFF;  // current nibble in bits 20..23
      const unsigned length = code_length(window >> 20);
      emit_word(dst, table, window >> (4 * (6 - length)), length);
      pos += length;
      dst += 2;
      ++done;
    }
    pos_ = pos;
    return done;
  }

  bool decode_one_checked(std::uint8_t* dst) {
    if (pos_ >= total_nibbles_) return false;
    const unsigned length = code_length(nibble(pos_));
    if (length > total_nibbles_ - pos_) return false;
    std::uint32_t code = 0;
    for (unsigned k = 0; k < length; ++k) code = (code << 4) | nibble(pos_ + k);
    emit_word(dst, table_, code, length);
    pos_ += length;
    return true;
  }

  unsigned nibble(std::size_t index) const {
    const std::uint8_t byte = stream_[index >> 1];
    return (index & 1) ? byte & 0x0F : byte >> 4;
  }

  std::span<const std::uint8_t> stream_;
  const std::uint8_t* table_;
  std::size_t total_nibbles_;
  std::size_t pos_ = 0;
};

bool has_compressed_magic(std::span<const std::uint8_t> payload) {
  return payload.size() >= kCompressedCodeMagic.size() &&
         std::memcmp(payload.data(), kCompressedCodeMagic.data(), kCompressedCodeMagic.size()) == 0;
}

}  // namespace

tl::expected<codec::ByteBuffer, Error> decompress_nibble_stream(std::span<const std::uint8_t> payload) {
  if (payload.size() < kNibbleStreamOffset) {
    return tl::unexpected(Error(PayloadTooShort{kNibbleStreamOffset, payload.size()}));
  }
  if (!has_compressed_magic(payload)) return tl::unexpected(Error(BadMagic{}));
  const std::uint32_t n_words = codec::load<std::uint32_t>(payload.data() + 4, codec::ByteOrder::Big);
  const auto stream = payload.subspan(kNibbleStreamOffset);
  // Every code takes at least two nibbles: a count the stream cannot hold is
  // refused before the output is allocated.
  if (stream.size() < n_words) return tl::unexpected(Error(NibbleStreamEnded{}));

  const std::size_t out_len = 2 * std::size_t{n_words};
  codec::ByteBuffer out;
  out.reserve(out_len);
  NibbleDecoder decoder(stream, payload.data() + 8);
  if (!decoder.decode(out.prepare(out_len), n_words)) return tl::unexpected(Error(NibbleStreamEnded{}));
  out.commit(out_len);
  return out;
}

tl::expected<codec::ByteBuffer, Error> Code::decompress(std::span<const std::uint8_t> payload,
                                                        std::size_t expected_len) {
  // Stored code is copied; an empty payload stays empty.
  auto code = has_compressed_magic(payload) ? decompress_nibble_stream(payload)
                                            : tl::expected<codec::ByteBuffer, Error>(codec::ByteBuffer(payload));
  return std::move(code).and_then([expected_len](codec::ByteBuffer&& bytes) -> tl::expected<codec::ByteBuffer, Error> {
    if (bytes.size() != expected_len) return tl::unexpected(Error(DecompressedSize{expected_len, bytes.size()}));
    return std::move(bytes);
  });
}

}  // namespace zarv::ovn
