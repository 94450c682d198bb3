// Image selection and composition over underlays.
#include "codec/byte_cursor.hpp"
#include "graphics/archive.hpp"
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/image/decoders/header.hpp"

namespace zarv::graphics {
namespace {

// Chains longer than this are not drawn; it also ends cycles in the table.
constexpr int kCompositionDepth = 16;
constexpr std::size_t kUnderlayRecordSize = 4;
// decode_image's palette fallback: the third set of 16-colour palettes,
// second block.
constexpr std::uint8_t kFallbackPaletteSet = 3;
constexpr std::uint8_t kFallbackPaletteBlock = 1;

}  // namespace

std::optional<std::uint16_t> underlay_of_in(std::span<const std::uint8_t> table, bool big_endian, std::uint16_t item) {
  if (table.size() < kUnderlayRecordSize) return std::nullopt;
  const auto order = big_endian ? codec::ByteOrder::Big : codec::ByteOrder::Little;
  std::size_t lo = 0;
  std::size_t hi = table.size() / kUnderlayRecordSize;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const std::uint8_t* record = table.data() + kUnderlayRecordSize * mid;
    const auto key = codec::load<std::uint16_t>(record, order);
    if (key < item) {
      lo = mid + 1;
    } else if (key > item) {
      hi = mid;
    } else {
      return codec::load<std::uint16_t>(record + 2, order);
    }
  }
  return std::nullopt;
}

tl::expected<std::optional<Image>, ImageError> Archive::compose_image_at_dbidx_inner(
    std::size_t item, int depth, bool big_endian, bool trailing_palette,
    std::optional<std::span<const std::uint8_t>> underlay_table) const {
  if (depth <= 0 || item >= entry_count_) return std::nullopt;
  const auto payload = this->item(item);
  std::optional<std::uint16_t> underlay;
  if (underlay_table) {
    // Item numbers are below the 16-bit entry count, so the narrowing is exact.
    underlay = underlay_of_in(*underlay_table, big_endian, static_cast<std::uint16_t>(item));
    if (underlay == item) underlay.reset();  // a self-reference means a plain image
  }

  if (!underlay) {
    const std::uint8_t flags = format_flags();
    auto image = format_version() == 4 ? parse_format4(payload, big_endian)
                                       : parse_format5(payload, big_endian, (flags & kFlagEightBit) != 0,
                                                       (flags & kFlagTrailingPalette) != 0);
    if (!image) return tl::unexpected(std::move(image.error()));
    return std::optional<Image>(std::move(*image));
  }

  auto base = compose_image_at_dbidx_inner(*underlay, depth - 1, big_endian, trailing_palette, underlay_table);
  if (!base || !*base) return base;
  constexpr std::size_t kHeaderSize = 4;
  if (payload.size() < kHeaderSize) {
    return tl::unexpected(ImageError(image_error::Truncated{kHeaderSize, payload.size()}));
  }
  const auto header = ImageHeader::read(payload.data(), big_endian);
  const Image& base_image = **base;
  if (header.width() != base_image.width || header.height() != base_image.height) {
    return tl::unexpected(ImageError(
        image_error::OverlayMismatch{header.width(), header.height(), base_image.width, base_image.height}));
  }
  auto overlay = decode_4bit_body(payload, header.width(), header.height(), trailing_palette, &base_image);
  if (!overlay) return tl::unexpected(std::move(overlay.error()));
  return std::optional<Image>(std::move(*overlay));
}

tl::expected<std::optional<DecodedImage>, ImageError> Archive::decode_image(std::uint8_t cls1, std::uint8_t cls2,
                                                                            std::uint8_t cls4) const {
  const GraphicFileEntry* entry = ent1_.find(cls1, cls2, kKindImage, cls4);
  if (entry == nullptr) return std::nullopt;
  const auto underlay_table = find_bytes(0, 0, kKindUnderlayTable, 0);
  const std::uint8_t flags = format_flags();
  auto image = compose_image_at_dbidx_inner(entry->data, kCompositionDepth, big_endian(),
                                            (flags & kFlagTrailingPalette) != 0, underlay_table);
  if (!image) return tl::unexpected(std::move(image.error()));
  if (!*image) return std::nullopt;
  const auto palette = (flags & kFlagEightBit) != 0
                           ? master_pal_irgb()
                           : find_image_palette_ctx(cls1, cls2, cls4, kFallbackPaletteSet, kFallbackPaletteBlock);
  if (!palette) return std::nullopt;
  return std::optional<DecodedImage>(DecodedImage{std::move(**image), *palette});
}

}  // namespace zarv::graphics
