#include "json/base64.hpp"

#include <array>
#include <bit>
#include <cstring>

#include <fmt/format.h>

namespace zarv::json {

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t pad = '=';
constexpr std::uint8_t invalid = 0xFF;

// Two output characters for every 12-bit group, so three input bytes take
// two lookups.
constexpr std::array<std::uint16_t, 4096> make_pair_table() {
  std::array<std::uint16_t, 4096> table{};
  for (unsigned v = 0; v < 4096; ++v) {
    // Stored in memory order: first character at the lower address.
    const auto a = static_cast<std::uint8_t>(alphabet[v >> 6]);
    const auto b = static_cast<std::uint8_t>(alphabet[v & 63]);
    table[v] = static_cast<std::uint16_t>(std::endian::native == std::endian::little ? (a | (b << 8)) : ((a << 8) | b));
  }
  return table;
}
constexpr auto pair_table = make_pair_table();

constexpr std::array<std::uint8_t, 256> make_decode_table() {
  std::array<std::uint8_t, 256> table{};
  table.fill(invalid);
  for (unsigned i = 0; i < 64; ++i) table[static_cast<std::uint8_t>(alphabet[i])] = static_cast<std::uint8_t>(i);
  return table;
}
constexpr auto decode_table = make_decode_table();

// The symbol value shifted into its place in a 24-bit group, with bit 31 set
// for bytes outside the alphabet, so one OR of four lookups tells both the
// group and whether it is clean.
constexpr std::array<std::uint32_t, 256> make_shifted_table(unsigned shift) {
  std::array<std::uint32_t, 256> table{};
  for (unsigned c = 0; c < 256; ++c) {
    table[c] = decode_table[c] == invalid ? 0x80000000u : static_cast<std::uint32_t>(decode_table[c]) << shift;
  }
  return table;
}
constexpr auto shift18 = make_shifted_table(18);
constexpr auto shift12 = make_shifted_table(12);
constexpr auto shift6 = make_shifted_table(6);
constexpr auto shift0 = make_shifted_table(0);

Base64Error symbol_error(std::size_t offset, std::uint8_t byte) {
  return {Base64Error::Kind::InvalidSymbol, offset, byte};
}

// Decodes the final group of one to four symbols (possibly padded) that
// starts at `start`, appending its bytes.
tl::expected<void, Base64Error> decode_last_group(const std::uint8_t* text, std::size_t length, std::size_t start,
                                                  codec::ByteBuffer& out) {
  std::size_t symbols = 0;
  std::size_t padding = 0;
  std::size_t first_pad = 0;
  std::uint8_t last_symbol = 0;
  std::uint8_t values[4] = {0, 0, 0, 0};
  for (std::size_t i = 0; start + i < length; ++i) {
    const std::uint8_t c = text[start + i];
    if (c == pad) {
      // Padding may only follow two or three symbols.
      if (i < 2) return tl::unexpected(symbol_error(start + i, c));
      if (padding == 0) first_pad = i;
      ++padding;
      continue;
    }
    // A symbol after padding: the padding was not at the end.
    if (padding > 0) return tl::unexpected(symbol_error(start + first_pad, pad));
    last_symbol = c;
    const std::uint8_t v = decode_table[c];
    if (v == invalid) return tl::unexpected(symbol_error(start + i, c));
    values[symbols++] = v;
  }
  if (length > 0 && symbols < 2) {
    return tl::unexpected(Base64Error{Base64Error::Kind::InvalidLength, start + symbols, 0});
  }
  if ((padding + symbols) % 4 != 0) return tl::unexpected(Base64Error{Base64Error::Kind::InvalidPadding, 0, 0});
  const std::size_t bytes = symbols * 6 / 8;
  std::uint32_t group = (std::uint32_t{values[0]} << 26) | (std::uint32_t{values[1]} << 20) |
                        (std::uint32_t{values[2]} << 14) | (std::uint32_t{values[3]} << 8);
  // Bits below the last whole byte would be dropped; a canonical encoder
  // leaves them zero.
  const std::uint32_t unused = bytes == 0 ? ~0u : (~0u >> (bytes * 8));
  if ((group & unused) != 0) {
    return tl::unexpected(Base64Error{Base64Error::Kind::InvalidLastSymbol, start + symbols - 1, last_symbol});
  }
  for (std::size_t i = 0; i < bytes; ++i) {
    out.push_back(static_cast<std::uint8_t>(group >> 24));
    group <<= 8;
  }
  return {};
}

}  // namespace

std::string Base64Error::message() const {
  switch (kind) {
    case Kind::InvalidSymbol: return fmt::format("Invalid symbol {}, offset {}.", byte, offset);
    case Kind::InvalidLastSymbol: return fmt::format("Invalid last symbol {}, offset {}.", byte, offset);
    case Kind::InvalidLength: return fmt::format("Invalid input length: {}", offset);
    case Kind::InvalidPadding: break;
  }
  return "Invalid padding";
}

void base64_encode_to(codec::ByteBuffer& out, std::span<const std::uint8_t> bytes) {
  const std::size_t n = bytes.size();
  std::uint8_t* const start = out.prepare(base64_encoded_size(n));
  std::uint8_t* p = start;
  const std::uint8_t* s = bytes.data();
  std::size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    const std::uint32_t group = (std::uint32_t{s[i]} << 16) | (std::uint32_t{s[i + 1]} << 8) | s[i + 2];
    std::memcpy(p, &pair_table[group >> 12], 2);
    std::memcpy(p + 2, &pair_table[group & 0xFFF], 2);
    p += 4;
  }
  if (n - i == 1) {
    const std::uint32_t group = std::uint32_t{s[i]} << 16;
    p[0] = static_cast<std::uint8_t>(alphabet[group >> 18]);
    p[1] = static_cast<std::uint8_t>(alphabet[(group >> 12) & 63]);
    p[2] = pad;
    p[3] = pad;
    p += 4;
  } else if (n - i == 2) {
    const std::uint32_t group = (std::uint32_t{s[i]} << 16) | (std::uint32_t{s[i + 1]} << 8);
    p[0] = static_cast<std::uint8_t>(alphabet[group >> 18]);
    p[1] = static_cast<std::uint8_t>(alphabet[(group >> 12) & 63]);
    p[2] = static_cast<std::uint8_t>(alphabet[(group >> 6) & 63]);
    p[3] = pad;
    p += 4;
  }
  out.commit(static_cast<std::size_t>(p - start));
}

std::string base64_encode(std::span<const std::uint8_t> bytes) {
  codec::ByteBuffer out;
  base64_encode_to(out, bytes);
  return std::string(out.text());
}

tl::expected<codec::ByteBuffer, Base64Error> base64_decode(std::string_view text) {
  const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t n = text.size();
  const std::size_t rem = n % 4;
  // A text one byte past a whole group most often ends in a stray line
  // break; name that byte rather than the length.
  if (rem == 1 && s[n - 1] != pad && decode_table[s[n - 1]] == invalid) {
    return tl::unexpected(symbol_error(n - 1, s[n - 1]));
  }
  // Every whole group but the last; the last may carry padding and is
  // checked on its own.
  std::size_t body = n - rem;
  if (rem == 0) body = body >= 4 ? body - 4 : 0;

  codec::ByteBuffer out;
  // One spare byte: each group is stored as four bytes and advanced by three.
  std::uint8_t* const start = out.prepare(body / 4 * 3 + 1);
  std::uint8_t* p = start;
  for (std::size_t i = 0; i < body; i += 4) {
    const std::uint32_t group = shift18[s[i]] | shift12[s[i + 1]] | shift6[s[i + 2]] | shift0[s[i + 3]];
    if (group & 0x80000000u) {
      for (std::size_t k = 0; k < 4; ++k) {
        if (decode_table[s[i + k]] == invalid) return tl::unexpected(symbol_error(i + k, s[i + k]));
      }
    }
    const std::uint32_t stored = std::endian::native == std::endian::little ? __builtin_bswap32(group << 8) : group << 8;
    std::memcpy(p, &stored, 4);
    p += 3;
  }
  out.commit(static_cast<std::size_t>(p - start));
  if (auto last = decode_last_group(s, n, body, out); !last) return tl::unexpected(last.error());
  return out;
}

}  // namespace zarv::json
