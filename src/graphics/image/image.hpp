#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"

namespace zarv::graphics {

// A decoded picture: one palette index per pixel, row-major, top row first,
// no row padding. 4-bit forms give indices 0 to 15, 8-bit forms 0 to 255.
struct Image {
  codec::ByteBuffer pixels;  // width x height bytes
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  // When present, a 4-bit pixel p stands for master-palette index
  // local_palette[p].
  std::optional<std::array<std::uint8_t, 16>> local_palette;

  // width x height x 3 bytes of red, green, blue. The palette is 16 or 256
  // entries of (index, red, green, blue); any other size gives the text
  // "palette must be 16 (console-family) or 256 (PC-family) entries".
  tl::expected<codec::ByteBuffer, std::string> to_rgb_buffer(std::span<const std::uint8_t> palette) const;
  // The image as an 8-bit RGB PNG. A palette of the wrong size or an empty
  // image (PNG holds none) is a broken invariant of the caller: it throws
  // InternalFault.
  codec::ByteBuffer to_png(std::span<const std::uint8_t> palette) const;
};

// Encodes an RGB buffer of width x height pixels as a PNG (8-bit RGB, not
// interlaced, each row's filter chosen adaptively). Throws InternalFault when
// the encoder refuses it (an empty image, a buffer of the wrong size).
codec::ByteBuffer encode_rgb_png(std::span<const std::uint8_t> rgb, std::uint32_t width, std::uint32_t height);

}  // namespace zarv::graphics
