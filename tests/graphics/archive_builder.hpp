#pragma once
// Builds graphics archives for tests from their layout: the signature word,
// the item sizes, the big-endian index (item 0) and the items.
#include <cstdint>
#include <utility>
#include <vector>

namespace zarv::graphics::testing {

using ByteVector = std::vector<std::uint8_t>;

inline void put16(ByteVector& out, std::uint16_t v, bool big) {
  if (big) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
  } else {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  }
}

inline void put32(ByteVector& out, std::uint32_t v, bool big) {
  put16(out, static_cast<std::uint16_t>(big ? v >> 16 : v), big);
  put16(out, static_cast<std::uint16_t>(big ? v : v >> 16), big);
}

struct TestEntry {
  std::uint8_t cls1, cls2, cls3, cls4;
  std::uint16_t data;
};

struct ArchiveBuilder {
  bool big = false;
  std::uint16_t version = 5;
  std::vector<ByteVector> items;  // items 1 to n - 1
  std::vector<TestEntry> entries;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> type_headers;

  // Adds an item and returns its number.
  std::uint16_t add_item(ByteVector bytes) {
    items.push_back(std::move(bytes));
    return static_cast<std::uint16_t>(items.size());
  }
  ArchiveBuilder& entry(std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint8_t c4, std::uint16_t data) {
    entries.push_back({c1, c2, c3, c4, data});
    return *this;
  }
  // An image record for a new item holding the payload.
  ArchiveBuilder& image(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4, ByteVector payload) {
    return entry(c1, c2, 1, c4, add_item(std::move(payload)));
  }
  ArchiveBuilder& palette(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4, ByteVector bytes) {
    return entry(c1, c2, 9, c4, add_item(std::move(bytes)));
  }
  ArchiveBuilder& flags(std::uint16_t value) { return entry(0, 0, 11, 0, value); }

  ByteVector index() const {
    ByteVector out{0x80, 0x01};
    put16(out, static_cast<std::uint16_t>(entries.size()), true);
    put16(out, static_cast<std::uint16_t>(type_headers.size()), true);
    for (auto [letter, width] : type_headers) {
      out.push_back(letter);
      out.push_back(width);
    }
    for (const auto& e : entries) {
      out.insert(out.end(), {e.cls1, e.cls2, e.cls3, e.cls4, 0, 0});
      put16(out, e.data, true);
    }
    return out;
  }

  ByteVector bytes() const {
    const ByteVector ent1 = index();
    ByteVector out;
    put16(out, static_cast<std::uint16_t>(0x8000 | version), big);
    put16(out, static_cast<std::uint16_t>(items.size() + 1), big);
    put32(out, static_cast<std::uint32_t>(ent1.size()), big);
    for (const auto& item : items) put16(out, static_cast<std::uint16_t>(item.size()), big);
    out.insert(out.end(), ent1.begin(), ent1.end());
    for (const auto& item : items) out.insert(out.end(), item.begin(), item.end());
    return out;
  }
};

// A payload header: two words in the archive's order, each a 10-bit size
// below a 6-bit mark (Y-mark given as its top six bits, e.g. 0x8000).
inline ByteVector payload_header(std::uint16_t width, std::uint16_t height, bool big = false,
                                 std::uint16_t y_mark_bits = 0) {
  ByteVector out;
  put16(out, width, big);
  put16(out, static_cast<std::uint16_t>(height | y_mark_bits), big);
  return out;
}

inline ByteVector concat(ByteVector a, const ByteVector& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A palette of `entries` 4-byte entries (index, r, g, b) with entry k being
// (k, k, 2k, 3k) unless changed afterwards.
inline ByteVector ramp_palette(std::size_t entries) {
  ByteVector out;
  for (std::size_t k = 0; k < entries; ++k) {
    out.insert(out.end(), {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k),
                           static_cast<std::uint8_t>(2 * k), static_cast<std::uint8_t>(3 * k)});
  }
  return out;
}

}  // namespace zarv::graphics::testing
