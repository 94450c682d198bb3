#include "graphics/image/decoders/passthrough.hpp"

#include <array>

namespace zarv::graphics {
namespace {

Image blank_image(const ImageHeader& header) {
  Image image;
  image.width = header.width();
  image.height = header.height();
  return image;
}

tl::unexpected<ImageError> size_mismatch(PassthroughSubForm form, const ImageHeader& header, Payload payload) {
  return tl::unexpected(ImageError(image_error::PassthroughSize{form, header.width(), header.height(), payload.size()}));
}

}  // namespace

tl::expected<Image, ImageError> decode_fm_towns_u4(Payload payload, const ImageHeader& header) {
  constexpr std::size_t kPixelsStart = 8;  // bytes 4 to 7 are not interpreted
  Image image = blank_image(header);
  const std::size_t width = image.width;
  const std::size_t height = image.height;
  // Rows are padded to 16-byte multiples of two pixels per byte.
  const std::size_t row_bytes = ((width + 1) / 2 + 15) / 16 * 16;
  if (payload.size() != row_bytes * height + kPixelsStart) {
    return size_mismatch(PassthroughSubForm::FmTownsU4, header, payload);
  }
  image.pixels.resize(width * height);
  std::uint8_t* out = image.pixels.data();
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* in = payload.data() + kPixelsStart + row * row_bytes;
    // Low nibble first in this form.
    for (std::size_t x = 0; x + 1 < width; x += 2) {
      const std::uint8_t byte = in[x / 2];
      *out++ = byte & 0x0F;
      *out++ = byte >> 4;
    }
    if ((width & 1) != 0) *out++ = in[width / 2] & 0x0F;
  }
  return image;
}

tl::expected<Image, ImageError> decode_bits4(Payload payload, const ImageHeader& header) {
  constexpr std::size_t kPixelsStart = 10;
  constexpr std::size_t kLocalPaletteSize = 16;
  Image image = blank_image(header);
  const std::size_t count = std::size_t{image.width} * image.height;
  const std::size_t packed = (count + 1) / 2;
  if (payload.size() != packed + kPixelsStart + kLocalPaletteSize) {
    return size_mismatch(PassthroughSubForm::Bits4, header, payload);
  }
  image.pixels.resize(count);
  const std::uint8_t* in = payload.data() + kPixelsStart;
  std::uint8_t* out = image.pixels.data();
  // High nibble first, no row padding; an odd count drops the last nibble.
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    const std::uint8_t byte = in[i / 2];
    out[i] = byte >> 4;
    out[i + 1] = byte & 0x0F;
  }
  if ((count & 1) != 0) out[count - 1] = in[count / 2] >> 4;
  std::array<std::uint8_t, 16> palette{};
  std::copy(in + packed, in + packed + kLocalPaletteSize, palette.begin());
  image.local_palette = palette;
  return image;
}

tl::expected<Image, ImageError> decode_bits8(Payload payload, const ImageHeader& header) {
  constexpr std::size_t kPixelsStart = 10;
  Image image = blank_image(header);
  const std::size_t count = std::size_t{image.width} * image.height;
  if (payload.size() != count + kPixelsStart) return size_mismatch(PassthroughSubForm::Bits8, header, payload);
  image.pixels = codec::ByteBuffer(payload.subspan(kPixelsStart));
  return image;
}

}  // namespace zarv::graphics
