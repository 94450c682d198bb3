#pragma once
// The image payload decoders: pure functions of the payload bytes and the
// archive's flags. Every payload starts with a 4-byte header (header.hpp).
#include <cstddef>
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "graphics/image/image.hpp"
#include "graphics/image/image_error.hpp"

namespace zarv::graphics {

using Payload = std::span<const std::uint8_t>;

// Payloads of archive format 4: the FM-Towns passthrough form, otherwise the
// C4towns nibble codec.
tl::expected<Image, ImageError> parse_format4(Payload payload, bool big_endian);

// Payloads of archive format 5: the 4- and 8-bit passthrough forms, the
// 8-bit LZ77 form (only when the archive uses 8-bit images), otherwise the
// 4-bit body codec. The flags are bits 6 and 0 of the archive's flags.
tl::expected<Image, ImageError> parse_format5(Payload payload, bool big_endian, bool eight_bit,
                                              bool trailing_palette);

// The C4towns codec on a whole payload whose header gave width and height.
tl::expected<Image, ImageError> decode_c4towns(Payload payload, std::uint16_t width, std::uint16_t height);

// The 4-bit body codec on a whole payload (header included, not read).
// With an underlay (same size as the image), colour code 5 shows the
// underlay's pixels; with trailing_palette the last 16 bytes are the local
// palette.
tl::expected<Image, ImageError> decode_4bit_body(Payload payload, std::uint16_t width, std::uint16_t height,
                                                 bool trailing_palette, const Image* underlay);

// The 8-bit LZ77 codec: literals and back-references chosen by flag bits,
// `shift` (4 or 5) splitting a reference's two bytes into distance and
// length. Fails unless exactly expected_len bytes come out.
tl::expected<codec::ByteBuffer, ImageError> decode_lz77(Payload data, std::size_t expected_len, unsigned shift);

// Copies the first `width` bytes of each `stride`-byte row into an
// unpadded buffer (the buffer itself when stride equals width).
codec::ByteBuffer strip_row_padding(codec::ByteBuffer&& buffer, std::size_t width, std::size_t stride,
                                    std::size_t height);

}  // namespace zarv::graphics
