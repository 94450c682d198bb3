#pragma once
// The graphics archive: a signature word, a table of item sizes, and the
// items back to back; item 0 is the index (ent1.hpp).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <variant>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_order.hpp"
#include "graphics/ent1.hpp"
#include "graphics/error.hpp"
#include "graphics/image/image.hpp"
#include "graphics/image/image_error.hpp"

namespace zarv::graphics {

// Record kinds (cls3) the library interprets.
inline constexpr std::uint8_t kKindImage = 1;
inline constexpr std::uint8_t kKindUnderlayTable = 8;
inline constexpr std::uint8_t kKindPalette = 9;
inline constexpr std::uint8_t kKindValue = 11;
inline constexpr std::uint8_t kKindValue2 = 12;

// Bits of the format-flags value (record (0, 0, 11, 0), low byte).
inline constexpr std::uint8_t kFlagTrailingPalette = 0x01;
inline constexpr std::uint8_t kFlagEightBit = 0x40;

// What a lookup by class key yields: an inline value, or a view of an item.
struct EntryValue {
  std::uint16_t value = 0;
};
using EntryData = std::variant<EntryValue, std::span<const std::uint8_t>>;

// A decoded image with the palette that colours it (a view into the archive).
struct DecodedImage {
  Image image;
  std::span<const std::uint8_t> palette;
};

// A parsed archive. It borrows the caller's bytes (items and palettes are
// views into them), so it must not outlive the input.
class Archive {
 public:
  // Parses the header, the item table and the index. Errors: Truncated,
  // BadSignature, UnsupportedVersion, SizeMismatch, Ent1Truncated, and the
  // index's own (Ent1::parse).
  static tl::expected<Archive, Error> parse(std::span<const std::uint8_t> bytes);

  codec::ByteOrder byte_order() const { return byte_order_; }
  bool big_endian() const { return byte_order_ == codec::ByteOrder::Big; }
  std::uint16_t signature() const { return signature_; }
  std::uint16_t format_version() const { return signature_ & 0x7FFF; }
  std::uint16_t entry_count() const { return entry_count_; }
  const std::vector<std::size_t>& offsets() const { return offsets_; }
  std::span<const std::uint8_t> data() const { return data_; }
  const Ent1& ent1() const { return ent1_; }
  const std::vector<GraphicFileEntry>& entries() const { return ent1_.entries; }
  // Item k's bytes; empty for k at or beyond the entry count.
  std::span<const std::uint8_t> item(std::size_t k) const;

  // The lookup by class key: kinds 11 and 12 give the inline value; other
  // kinds give the item the entry names, or nothing when it names no item.
  std::optional<EntryData> find(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3, std::uint8_t cls4) const;
  // find() for kinds whose data is an item.
  std::optional<std::span<const std::uint8_t>> find_bytes(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3,
                                                          std::uint8_t cls4) const;
  // The low byte of the format-flags record; 0 when there is none.
  std::uint8_t format_flags() const;

  // The image of an image record, composed over its underlays, with its
  // palette. Nothing when there is no such record, the payload chain is cut
  // off (depth limit, item out of range) or no palette fits; an ImageError
  // when a payload does not decode.
  tl::expected<std::optional<DecodedImage>, ImageError> decode_image(std::uint8_t cls1, std::uint8_t cls2,
                                                                     std::uint8_t cls4) const;
  // Decodes item `item`, drawing it over its chain of underlays when the
  // underlay table names one. Each level lowers `depth`; at 0 nothing is
  // found, which also ends cycles in the table.
  tl::expected<std::optional<Image>, ImageError> compose_image_at_dbidx_inner(
      std::size_t item, int depth, bool big_endian, bool trailing_palette,
      std::optional<std::span<const std::uint8_t>> underlay_table) const;

  // The first 1024-byte palette item in index order.
  std::optional<std::span<const std::uint8_t>> master_pal_irgb() const;
  // The palette that colours an image, by the archive's fallback rules.
  std::optional<std::span<const std::uint8_t>> find_image_palette_ctx(std::uint8_t cls1, std::uint8_t cls2,
                                                                      std::uint8_t cls4, std::uint8_t fallback_cls2,
                                                                      std::uint8_t block) const;

 private:
  std::optional<std::span<const std::uint8_t>> palette_of_size(std::uint8_t cls1, std::uint8_t cls2,
                                                               std::uint8_t cls4, std::size_t size) const;
  std::optional<std::span<const std::uint8_t>> palette_block(std::uint8_t cls2, std::uint8_t block) const;
  std::optional<std::span<const std::uint8_t>> first_palette_item(std::size_t size, std::optional<std::uint8_t> cls1,
                                                                  std::optional<std::uint8_t> cls2) const;

  codec::ByteOrder byte_order_ = codec::ByteOrder::Little;
  std::uint16_t signature_ = 0;
  std::uint16_t entry_count_ = 0;
  std::vector<std::size_t> offsets_;
  std::span<const std::uint8_t> data_;
  Ent1 ent1_;
};

// The underlay of an overlay item, by binary search over the table's sorted
// 4-byte records (overlay item, underlay item); nothing when not listed.
std::optional<std::uint16_t> underlay_of_in(std::span<const std::uint8_t> table, bool big_endian, std::uint16_t item);

}  // namespace zarv::graphics
