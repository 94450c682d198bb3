// Which palette colours an image. Palettes are 4-byte entries (index, red,
// green, blue): 64-byte items hold 16 colours, 384-byte items six such
// palettes, and one 1024-byte item the 256-colour master palette.
#include "graphics/archive.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kSmallPalette = 64;
constexpr std::size_t kPaletteSet = 6 * kSmallPalette;
constexpr std::size_t kMasterPalette = 1024;
constexpr std::uint8_t kSharedVariant = 0xFE;  // a palette for every variant of an image
constexpr std::uint8_t kPaletteSetCategory = 8;
constexpr std::uint8_t kBlocksPerSet = 6;

}  // namespace

std::optional<std::span<const std::uint8_t>> Archive::first_palette_item(std::size_t size,
                                                                         std::optional<std::uint8_t> cls1,
                                                                         std::optional<std::uint8_t> cls2) const {
  for (const auto& entry : ent1_.entries) {
    if (entry.cls3 != kKindPalette || entry.data >= entry_count_) continue;
    if ((cls1 && entry.cls1 != *cls1) || (cls2 && entry.cls2 != *cls2)) continue;
    const auto bytes = item(entry.data);
    if (bytes.size() == size) return bytes;
  }
  return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> Archive::master_pal_irgb() const {
  return first_palette_item(kMasterPalette, std::nullopt, std::nullopt);
}

std::optional<std::span<const std::uint8_t>> Archive::palette_of_size(std::uint8_t cls1, std::uint8_t cls2,
                                                                      std::uint8_t cls4, std::size_t size) const {
  auto bytes = find_bytes(cls1, cls2, kKindPalette, cls4);
  if (bytes && bytes->size() == size) return bytes;
  return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> Archive::palette_block(std::uint8_t cls2, std::uint8_t block) const {
  if (cls2 >= kBlocksPerSet || block >= kBlocksPerSet) return std::nullopt;
  auto set = palette_of_size(kPaletteSetCategory, cls2, 0, kPaletteSet);
  if (!set) return std::nullopt;
  return set->subspan(kSmallPalette * block, kSmallPalette);
}

std::optional<std::span<const std::uint8_t>> Archive::find_image_palette_ctx(std::uint8_t cls1, std::uint8_t cls2,
                                                                             std::uint8_t cls4,
                                                                             std::uint8_t fallback_cls2,
                                                                             std::uint8_t block) const {
  if ((format_flags() & kFlagTrailingPalette) != 0) {
    if (auto master = master_pal_irgb()) return master;
  }
  if (auto own = palette_of_size(cls1, cls2, cls4, kSmallPalette)) return own;
  if (auto shared = palette_of_size(cls1, cls2, kSharedVariant, kSmallPalette)) return shared;
  if (cls1 == kPaletteSetCategory) {
    if (auto from_set = palette_block(cls2, block)) return from_set;
  }
  if (auto any_variant = first_palette_item(kSmallPalette, cls1, cls2)) return any_variant;
  if (cls1 >= kPaletteSetCategory) {
    if (auto fallback = palette_block(fallback_cls2, block)) return fallback;
    return master_pal_irgb();
  }
  if (auto general = palette_of_size(1, 0, 0, kSmallPalette)) return general;
  return master_pal_irgb();
}

}  // namespace zarv::graphics
