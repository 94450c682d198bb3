#pragma once
// Encoders for the graphics archive's image payloads, written from the
// payload layouts for the sample generator. They share no code with the
// library's decoders, so samples made here check the decoders rather than
// echo them.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "samples/bytes.hpp"

namespace zarv::samples {

// An image as palette indices, row-major, no padding.
struct Picture {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::vector<std::uint8_t> pixels;

  std::uint8_t at(std::size_t x, std::size_t y) const { return pixels[y * width + x]; }
};

using LocalPalette = std::array<std::uint8_t, 16>;

// Format 4, compressed: the FM-Towns nibble codec (4-bit pixels). Uses
// every command: short and long runs, literal runs, skips, and copies from
// the row above.
std::vector<std::uint8_t> encode_c4towns(const Picture& picture, Order order);

// Format 4, uncompressed: rows of 16-byte multiples, low nibble first.
std::vector<std::uint8_t> encode_fm_towns_u4(const Picture& picture, Order order);

// Format 5 (and overlays in both formats): the 4-bit body codec. With an
// underlay, pixels equal to the underlay's become transparent runs. With a
// local palette it is appended after the body.
std::vector<std::uint8_t> encode_4bit_body(const Picture& picture, Order order, const Picture* underlay,
                                           const std::optional<LocalPalette>& local_palette);

// Format 5, uncompressed 4-bit (high nibble first, then the local palette)
// and 8-bit forms.
std::vector<std::uint8_t> encode_bits4(const Picture& picture, Order order, const LocalPalette& local_palette);
std::vector<std::uint8_t> encode_bits8(const Picture& picture, Order order);

// Format 5, 8-bit compressed: LZ77 with mode 2 (shift 4) or 3 (shift 5).
std::vector<std::uint8_t> encode_lz77(const Picture& picture, Order order, std::uint8_t mode);

}  // namespace zarv::samples
