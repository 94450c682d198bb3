#include "graphics/ent1.hpp"

#include <algorithm>
#include <string>

#include "codec/byte_cursor.hpp"

namespace zarv::graphics {
namespace {

using codec::ByteCursor;
using codec::ByteOrder;
using codec::RecordError;

// The index's outer record has counted arrays, so it is read by hand; its
// field frames name it as the declared records name themselves.
constexpr std::string_view kEnt1Raw = "Ent1Raw";
constexpr codec::SourceLocation kEnt1RawLocation{__FILE__, __LINE__};

constexpr std::uint8_t kMagic0 = 0x80;
constexpr std::uint8_t kMagic1 = 0x01;

// The one record shape the library reads: T1 I1 D1 S1 F1 G1 P2.
constexpr std::array<TypeHeader, 7> kExpectedLayout{{
    {'T', 1}, {'I', 1}, {'D', 1}, {'S', 1}, {'F', 1}, {'G', 1}, {'P', 2}}};

RecordError in_ent1_field(RecordError&& error, std::string_view field) {
  return std::move(error).in_field(field, kEnt1Raw, kEnt1RawLocation);
}

tl::expected<std::uint16_t, RecordError> read_count(ByteCursor& cursor, std::string_view field) {
  auto value = cursor.read<std::uint16_t>(ByteOrder::Big);
  if (!value) return tl::unexpected(in_ent1_field(std::move(value.error()), field));
  return *value;
}

// Reads `count` records into `out`. The reservation is capped by what the
// bytes can hold, so a count from the input never sizes an allocation alone.
template <class T>
std::optional<RecordError> read_records(ByteCursor& cursor, std::size_t count, std::vector<T>& out,
                                        std::string_view field) {
  constexpr std::size_t size = codec::binary_size<T>();
  out.reserve(std::min(count, cursor.remaining() / size));
  for (std::size_t i = 0; i < count; ++i) {
    auto record = codec::read_record<T>(cursor, ByteOrder::Big);
    if (!record) return in_ent1_field(std::move(record.error()), field);
    out.push_back(*record);
  }
  return std::nullopt;
}

bool is_expected_layout(const std::vector<TypeHeader>& headers) {
  if (headers.empty()) return true;
  return std::equal(headers.begin(), headers.end(), kExpectedLayout.begin(), kExpectedLayout.end(),
                    [](const TypeHeader& a, const TypeHeader& b) { return a.letter == b.letter && a.width == b.width; });
}

}  // namespace

tl::expected<Ent1, Error> Ent1::parse(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2) return tl::unexpected(Error(RecordError::end_of_input()));
  if (bytes[0] != kMagic0 || bytes[1] != kMagic1) {
    const auto found = static_cast<unsigned>(bytes[0] << 8 | bytes[1]);
    return tl::unexpected(Error(RecordError::bad_magic(0, std::to_string(found))));
  }
  ByteCursor cursor(bytes, 2);
  Ent1 ent1;
  auto n_raw_entries = read_count(cursor, "n_raw_entries");
  if (!n_raw_entries) return tl::unexpected(Error(std::move(n_raw_entries.error())));
  auto n_type_headers = read_count(cursor, "n_type_headers");
  if (!n_type_headers) return tl::unexpected(Error(std::move(n_type_headers.error())));
  ent1.n_raw_entries = *n_raw_entries;
  ent1.n_type_headers = *n_type_headers;
  if (auto error = read_records(cursor, ent1.n_type_headers, ent1.type_headers, "type_headers")) {
    return tl::unexpected(Error(std::move(*error)));
  }
  if (auto error = read_records(cursor, ent1.n_raw_entries, ent1.entries, "entries")) {
    return tl::unexpected(Error(std::move(*error)));
  }
  if (!is_expected_layout(ent1.type_headers)) {
    Ent1Layout layout;
    layout.layout.reserve(ent1.type_headers.size());
    for (const auto& h : ent1.type_headers) layout.layout.emplace_back(h.letter, h.width);
    return tl::unexpected(Error(std::move(layout)));
  }
  ent1.build_index();
  return ent1;
}

void Ent1::build_index() {
  index_.clear();
  index_.reserve(entries.size());
  for (std::size_t e = 0; e < entries.size(); ++e) {
    index_.emplace_back(class_key(entries[e]), static_cast<std::uint32_t>(e));
  }
  // Pairs are unique (distinct entry numbers), so a plain sort keeps each
  // key's entries in file order.
  std::sort(index_.begin(), index_.end());
  index_entries_.resize(index_.size());
  std::transform(index_.begin(), index_.end(), index_entries_.begin(), [](const auto& slot) { return slot.second; });
}

std::span<const std::uint32_t> Ent1::entries_with_key(ClassKey key) const {
  auto by_key = [](const std::pair<ClassKey, std::uint32_t>& slot, ClassKey k) { return slot.first < k; };
  auto first = std::lower_bound(index_.begin(), index_.end(), key, by_key);
  auto last = first;
  while (last != index_.end() && last->first == key) ++last;
  const auto begin = static_cast<std::size_t>(first - index_.begin());
  return std::span<const std::uint32_t>(index_entries_).subspan(begin, static_cast<std::size_t>(last - first));
}

const GraphicFileEntry* Ent1::find(std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls3,
                                   std::uint8_t cls4) const {
  auto numbers = entries_with_key(class_key(cls1, cls2, cls3, cls4));
  if (numbers.empty()) return nullptr;
  return &entries[numbers.back()];
}

}  // namespace zarv::graphics
