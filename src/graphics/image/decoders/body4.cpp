// The 4-bit body codec of archive format 5 (and of overlays in both
// formats): a small colour table, then commands that each pick a colour
// source and a count.
#include <array>

#include "codec/internal_fault.hpp"
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/image/decoders/nibbles.hpp"
#include "graphics/image/decoders/row_model.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kLocalPaletteSize = 16;
constexpr std::size_t kTableStart = 8;  // the first nibble after the header

constexpr std::uint8_t kCodeTransparent = 5;
constexpr std::uint8_t kCodeCopyAbove = 6;
constexpr std::uint8_t kCodeExplicitColour = 7;
constexpr std::uint8_t kLongCount = 0x8;

// The count of a step: 1 without the long flag; with it 2 to 16, 17 to 271,
// or a 16-bit value given outright. Nothing when the nibbles run out.
std::optional<std::size_t> read_count(Nibbles& in, bool long_count) {
  if (!long_count) return 1;
  if (!in.available(1)) return std::nullopt;
  const std::uint8_t n = in.next();
  if (n < 15) return std::size_t{n} + 2;
  if (!in.available(2)) return std::nullopt;
  const std::uint32_t b = in.next_value(2);
  if (b < 255) return std::size_t{b} + 17;
  if (!in.available(4)) return std::nullopt;
  return std::size_t{in.next_value(4)};
}

}  // namespace

tl::expected<Image, ImageError> decode_4bit_body(Payload payload, std::uint16_t width, std::uint16_t height,
                                                 bool trailing_palette, const Image* underlay) {
  if (underlay != nullptr && (underlay->width != width || underlay->height != height)) {
    throw InternalFault("underlay of another size reached the 4-bit body codec");
  }
  Image image;
  image.width = width;
  image.height = height;
  Payload body = payload;
  if (trailing_palette) {
    constexpr std::size_t kMinimum = kHeaderSize + kLocalPaletteSize;
    if (payload.size() < kMinimum) return tl::unexpected(ImageError(image_error::Truncated{kMinimum, payload.size()}));
    body = payload.first(payload.size() - kLocalPaletteSize);
    std::array<std::uint8_t, 16> palette{};
    std::copy(body.end(), payload.end(), palette.begin());
    image.local_palette = palette;
  } else if (payload.size() < kHeaderSize) {
    return tl::unexpected(ImageError(image_error::Truncated{kHeaderSize, payload.size()}));
  }

  // With an underlay, code 5 means "transparent", so the table has no t5.
  const std::size_t table_size = underlay != nullptr ? 5 : 6;
  std::array<std::uint8_t, 6> table{};
  Nibbles table_reader(body, kTableStart);
  for (std::size_t i = 0; i < table_size && table_reader.available(1); ++i) table[i] = table_reader.next();

  const std::size_t stride = (std::size_t{width} + 1) & ~std::size_t{1};
  codec::ByteBuffer buffer(stride * height);
  RowWriter out(buffer.data(), buffer.size(), width, stride);
  Nibbles in(body, kTableStart + table_size);
  while (!out.full() && in.available(1)) {
    const std::uint8_t command = in.next();
    const std::uint8_t code = command & 7;
    std::uint8_t colour = 0;
    if (code == kCodeExplicitColour) {
      if (!in.available(1)) break;
      colour = in.next();
    } else if (code < kCodeCopyAbove) {
      colour = table[code];
    }
    const auto count = read_count(in, (command & kLongCount) != 0);
    if (!count) break;
    if (code == kCodeCopyAbove) {
      out.copy_from_row_above(*count);
    } else if (code == kCodeTransparent && underlay != nullptr) {
      out.take_from(underlay->pixels.data(), *count);
    } else {
      out.fill(*count, colour);
    }
  }
  image.pixels = strip_row_padding(std::move(buffer), width, stride, height);
  return image;
}

}  // namespace zarv::graphics
