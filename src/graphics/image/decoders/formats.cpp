// Which decoder a payload needs, by archive format, header marks and flags.
#include "codec/byte_cursor.hpp"
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/image/decoders/header.hpp"
#include "graphics/image/decoders/passthrough.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kHeaderSize = 4;

tl::unexpected<ImageError> truncated(std::size_t needed, Payload payload) {
  return tl::unexpected(ImageError(image_error::Truncated{needed, payload.size()}));
}

// Format 5 passthrough: a bit-depth marker after the header picks the form.
tl::expected<Image, ImageError> decode_format5_passthrough(Payload payload, const ImageHeader& header,
                                                           bool big_endian) {
  constexpr std::size_t kMinimum = 10;
  if (payload.size() < kMinimum) return truncated(kMinimum, payload);
  const auto marker =
      codec::load<std::uint16_t>(payload.data() + 4, big_endian ? codec::ByteOrder::Big : codec::ByteOrder::Little);
  if (marker == 4) return decode_bits4(payload, header);
  if (marker == 8) return decode_bits8(payload, header);
  return tl::unexpected(ImageError(image_error::PassthroughBitDepth{marker}));
}

// Format 5, 8-bit compressed: byte 6 picks the reference split.
tl::expected<Image, ImageError> decode_format5_lz77(Payload payload, const ImageHeader& header) {
  constexpr std::size_t kStreamStart = 8;
  if (payload.size() < kStreamStart) return truncated(kStreamStart, payload);
  const std::uint8_t mode = payload[6];
  if (mode != 2 && mode != 3) return tl::unexpected(ImageError(image_error::CompressionMode{mode}));
  Image image;
  image.width = header.width();
  image.height = header.height();
  auto pixels = decode_lz77(payload.subspan(kStreamStart), std::size_t{image.width} * image.height, mode == 2 ? 4 : 5);
  if (!pixels) return tl::unexpected(std::move(pixels.error()));
  image.pixels = std::move(*pixels);
  return image;
}

}  // namespace

tl::expected<Image, ImageError> parse_format4(Payload payload, bool big_endian) {
  if (payload.size() < kHeaderSize) return truncated(kHeaderSize, payload);
  const auto header = ImageHeader::read(payload.data(), big_endian);
  if (header.is_passthrough()) {
    constexpr std::size_t kMinimum = 8;
    if (payload.size() < kMinimum) return truncated(kMinimum, payload);
    return decode_fm_towns_u4(payload, header);
  }
  return decode_c4towns(payload, header.width(), header.height());
}

tl::expected<Image, ImageError> parse_format5(Payload payload, bool big_endian, bool eight_bit,
                                              bool trailing_palette) {
  if (payload.size() < kHeaderSize) return truncated(kHeaderSize, payload);
  const auto header = ImageHeader::read(payload.data(), big_endian);
  if (header.is_passthrough()) return decode_format5_passthrough(payload, header, big_endian);
  if (eight_bit && header.is_eight_bit()) return decode_format5_lz77(payload, header);
  return decode_4bit_body(payload, header.width(), header.height(), trailing_palette, nullptr);
}

}  // namespace zarv::graphics
