#include "graphics/archive.hpp"

#include <limits>

#include "codec/byte_cursor.hpp"
#include "graphics/signature.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kSizeTableStart = 8;

// Where the items start: the signature, the count, item 0's 32-bit size and
// the n - 1 16-bit sizes.
constexpr std::size_t header_size(std::size_t n) { return 2 * n + 6; }

// offsets[k] for every item boundary, or the SizeMismatch that ends the parse.
tl::expected<std::vector<std::size_t>, Error> item_offsets(std::span<const std::uint8_t> bytes, std::size_t n,
                                                           std::uint32_t item0_size, codec::ByteOrder order) {
  std::vector<std::size_t> offsets;
  offsets.reserve(n + 1);
  offsets.push_back(header_size(n));
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  auto add = [&](std::size_t size) {
    if (size > kMax - offsets.back()) return false;
    offsets.push_back(offsets.back() + size);
    return true;
  };
  if (!add(item0_size)) return tl::unexpected(Error(SizeMismatch{kMax, bytes.size()}));
  for (std::size_t k = 1; k < n; ++k) {
    const auto size = codec::load<std::uint16_t>(bytes.data() + kSizeTableStart + 2 * (k - 1), order);
    if (!add(size)) return tl::unexpected(Error(SizeMismatch{kMax, bytes.size()}));
  }
  if (offsets.back() != bytes.size()) return tl::unexpected(Error(SizeMismatch{offsets.back(), bytes.size()}));
  return offsets;
}

}  // namespace

tl::expected<Archive, Error> Archive::parse(std::span<const std::uint8_t> bytes) {
  const std::size_t length = bytes.size();
  auto signature = read_signature(bytes);
  if (!signature) return tl::unexpected(std::move(signature.error()));
  const std::uint16_t version = signature->format_version();
  if (version != 4 && version != 5) return tl::unexpected(Error(UnsupportedVersion{version}));
  const std::size_t n = signature->entry_count;
  if (n == 0) return tl::unexpected(Error(SizeMismatch{8, length}));
  if (length < kSizeTableStart) return tl::unexpected(Error(Truncated{kSizeTableStart, length}));
  const auto item0_size = codec::load<std::uint32_t>(bytes.data() + 4, signature->byte_order);
  if (length < header_size(n)) return tl::unexpected(Error(Truncated{header_size(n), length}));
  if (length - header_size(n) < item0_size) {
    return tl::unexpected(Error(Ent1Truncated{item0_size, length - header_size(n)}));
  }
  auto offsets = item_offsets(bytes, n, item0_size, signature->byte_order);
  if (!offsets) return tl::unexpected(std::move(offsets.error()));

  auto ent1 = Ent1::parse(bytes.subspan((*offsets)[0], item0_size));
  if (!ent1) return tl::unexpected(std::move(ent1.error()));

  Archive archive;
  archive.byte_order_ = signature->byte_order;
  archive.signature_ = signature->word;
  archive.entry_count_ = signature->entry_count;
  archive.offsets_ = std::move(*offsets);
  archive.data_ = bytes;
  archive.ent1_ = std::move(*ent1);
  return archive;
}

std::span<const std::uint8_t> Archive::item(std::size_t k) const {
  if (k >= entry_count_) return {};
  return data_.subspan(offsets_[k], offsets_[k + 1] - offsets_[k]);
}

std::optional<EntryData> Archive::find(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3,
                                       std::uint8_t cls4) const {
  const GraphicFileEntry* entry = ent1_.find(cls1, cls2, cls3, cls4);
  if (entry == nullptr) return std::nullopt;
  if (entry->cls3 == kKindValue || entry->cls3 == kKindValue2) return EntryData{EntryValue{entry->data}};
  if (entry->data < entry_count_) return EntryData{item(entry->data)};
  return std::nullopt;
}

std::optional<std::span<const std::uint8_t>> Archive::find_bytes(std::uint8_t cls1, std::uint8_t cls2,
                                                                 std::uint8_t cls3, std::uint8_t cls4) const {
  auto found = find(cls1, cls2, cls3, cls4);
  if (!found) return std::nullopt;
  if (const auto* bytes = std::get_if<std::span<const std::uint8_t>>(&*found)) return *bytes;
  return std::nullopt;
}

std::uint8_t Archive::format_flags() const {
  auto found = find(0, 0, kKindValue, 0);
  if (!found) return 0;
  if (const auto* value = std::get_if<EntryValue>(&*found)) return static_cast<std::uint8_t>(value->value & 0xFF);
  return 0;
}

}  // namespace zarv::graphics
