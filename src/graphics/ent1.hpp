#pragma once
// The archive's index (item 0): 8-byte records that give every item a
// four-part class key and either an item number or a small inline value.
// The index is big-endian in every archive, whatever the archive's own order.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <tl/expected.hpp>

#include "codec/record.hpp"
#include "graphics/error.hpp"

namespace zarv::graphics {

// One pair of the index's self-description: a field letter and its width.
struct TypeHeader {
  std::uint8_t letter = 0;
  std::uint8_t width = 0;
};
ZARV_RECORD(TypeHeader, letter, width)

// One index record. The class key is (cls1, cls2, cls3, cls4); cls3 is the
// record kind (1 image, 8 underlay table, 9 palette, 11 and 12 inline value).
struct GraphicFileEntry {
  std::uint8_t cls1 = 0;
  std::uint8_t cls2 = 0;
  std::uint8_t cls3 = 0;
  std::uint8_t cls4 = 0;
  std::uint8_t cls5 = 0;
  std::uint8_t cls6 = 0;
  std::uint16_t data = 0;  // an item number, or the inline value for kinds 11 and 12
};
ZARV_RECORD(GraphicFileEntry, cls1, cls2, cls3, cls4, cls5, cls6, data)
static_assert(codec::binary_size<GraphicFileEntry>() == 8);

// The four key bytes packed into one number, cls1 most significant, so that
// keys sort and compare as integers.
using ClassKey = std::uint32_t;
constexpr ClassKey class_key(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3, std::uint8_t cls4) {
  return ClassKey{cls1} << 24 | ClassKey{cls2} << 16 | ClassKey{cls3} << 8 | ClassKey{cls4};
}
constexpr ClassKey class_key(const GraphicFileEntry& e) { return class_key(e.cls1, e.cls2, e.cls3, e.cls4); }

// The parsed index. Entries keep file order; an entry's position is its
// entry number.
class Ent1 {
 public:
  std::uint16_t n_raw_entries = 0;
  std::uint16_t n_type_headers = 0;
  std::vector<TypeHeader> type_headers;
  std::vector<GraphicFileEntry> entries;

  // Parses item 0. Errors: the record codec's (end of input, with the
  // field frames of Ent1Raw, TypeHeader and GraphicFileEntry; bad magic)
  // and Ent1Layout.
  static tl::expected<Ent1, Error> parse(std::span<const std::uint8_t> bytes);

  // The entry numbers that carry a key, in file order (empty when none).
  std::span<const std::uint32_t> entries_with_key(ClassKey key) const;
  // The entry for a key: when several share it, the last one in the file.
  const GraphicFileEntry* find(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3, std::uint8_t cls4) const;

 private:
  void build_index();

  // (key, entry number) pairs sorted by key, then by entry number: the list
  // of one key is one contiguous run.
  std::vector<std::pair<ClassKey, std::uint32_t>> index_;
  // The entry numbers of index_, in the same order, for handing out spans.
  std::vector<std::uint32_t> index_entries_;
};

}  // namespace zarv::graphics
