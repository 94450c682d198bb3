#include <gtest/gtest.h>

#include <string>

#include "graphics/archive.hpp"
#include "graphics/archive_builder.hpp"
#include "graphics/nibble_input.hpp"

namespace zarv::graphics {
namespace {

using testing::ArchiveBuilder;
using testing::ByteVector;
using testing::concat;
using testing::nibbles;
using testing::payload_header;

ByteVector pixels_of(const Image& image) { return ByteVector(image.pixels.begin(), image.pixels.end()); }

ByteVector underlay_table(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> records, bool big) {
  ByteVector out;
  for (auto [overlay, base] : records) {
    testing::put16(out, overlay, big);
    testing::put16(out, base, big);
  }
  return out;
}

// A 3 x 2 base (pixels 1..6) and an overlay whose code-5 run shows three
// base pixels.
ByteVector base_payload(bool big) { return concat(payload_header(3, 2, big), nibbles("123456 0 1 2 3 4 5")); }
ByteVector overlay_payload(bool big, std::uint16_t w = 3, std::uint16_t h = 2) {
  return concat(payload_header(w, h, big), nibbles("12345 1 D1 F9 0"));
}

struct Decoded {
  std::string error;
  bool found = false;
  ByteVector pixels;
  std::size_t palette_size = 0;
  std::size_t palette_offset = 0;  // where the palette starts in the file
};

Decoded decode(const ByteVector& bytes, std::uint8_t c1, std::uint8_t c2, std::uint8_t c4) {
  Decoded out;
  auto archive = Archive::parse(bytes);
  if (!archive) {
    out.error = archive.error().message();
    return out;
  }
  auto image = archive->decode_image(c1, c2, c4);
  if (!image) {
    out.error = image.error().message();
    return out;
  }
  if (!*image) return out;
  out.found = true;
  out.pixels = pixels_of((*image)->image);
  out.palette_size = (*image)->palette.size();
  out.palette_offset = static_cast<std::size_t>((*image)->palette.data() - bytes.data());
  return out;
}

TEST(Compose, OverlayShowsItsBaseInBothFormatsAndOrders) {
  for (std::uint16_t version : {4, 5}) {
    for (bool big : {false, true}) {
      ArchiveBuilder b;
      b.big = big;
      b.version = version;
      // Format 4 bases are C4towns: a literal run of 6 (1..6).
      const auto base = version == 4 ? b.add_item(concat(payload_header(3, 2, big), nibbles("D0 0005 123456")))
                                     : b.add_item(base_payload(big));
      const auto overlay = b.add_item(overlay_payload(big));
      b.entry(2, 0, 1, 0, overlay);
      b.entry(0, 0, 8, 0, b.add_item(underlay_table({{overlay, base}}, big)));
      b.palette(2, 0, 0, testing::ramp_palette(16));
      auto d = decode(b.bytes(), 2, 0, 0);
      ASSERT_TRUE(d.found) << version << big << d.error;
      EXPECT_EQ(d.pixels, (ByteVector{2, 2, 3, 4, 9, 9})) << version << big;
    }
  }
}

TEST(Compose, OverlayErrors) {
  ArchiveBuilder b;
  const auto base = b.add_item(concat(payload_header(32, 17), nibbles("123456")));
  const auto overlay = b.add_item(concat(payload_header(32, 16), nibbles("12345")));
  const auto short_overlay = b.add_item({1, 2, 3});
  const auto broken_base = b.add_item({1, 2});
  const auto over_broken = b.add_item(overlay_payload(false));
  b.entry(0, 0, 8, 0,
          b.add_item(underlay_table({{overlay, base}, {short_overlay, base}, {over_broken, broken_base}}, false)));
  b.entry(1, 1, 1, 0, overlay).entry(1, 2, 1, 0, short_overlay).entry(1, 3, 1, 0, over_broken);
  b.palette(1, 0, 0, testing::ramp_palette(16));
  const ByteVector bytes = b.bytes();
  EXPECT_EQ(decode(bytes, 1, 1, 0).error,
            "overlay dimensions (32, 16) don't match underlay (32, 17); overlays must composite over a same-size base");
  EXPECT_EQ(decode(bytes, 1, 2, 0).error, "image payload truncated: needed 4 bytes, got 3");
  // The base's own error comes first.
  EXPECT_EQ(decode(bytes, 1, 3, 0).error, "image payload truncated: needed 4 bytes, got 2");
}

TEST(Compose, ChainsCyclesAndSelfReferences) {
  ArchiveBuilder b;
  std::vector<std::uint16_t> chain;
  // Item 1 is the base; items 2..17 each overlay the one before.
  chain.push_back(b.add_item(base_payload(false)));
  for (int i = 0; i < 16; ++i) chain.push_back(b.add_item(overlay_payload(false)));
  const auto cycle_a = b.add_item(base_payload(false));
  const auto cycle_b = b.add_item(base_payload(false));
  const auto self = b.add_item(base_payload(false));
  std::vector<std::pair<std::uint16_t, std::uint16_t>> records;
  for (std::size_t i = 1; i < chain.size(); ++i) records.emplace_back(chain[i], chain[i - 1]);
  records.emplace_back(cycle_a, cycle_b);
  records.emplace_back(cycle_b, cycle_a);
  records.emplace_back(self, self);
  ByteVector table;
  for (auto [o, u] : records) {
    testing::put16(table, o, false);
    testing::put16(table, u, false);
  }
  table.push_back(0xEE);  // a partial record is ignored
  b.entry(0, 0, 8, 0, b.add_item(table));
  b.entry(1, 15, 1, 0, chain[15]);  // 16 images deep: drawn
  b.entry(1, 16, 1, 0, chain[16]);  // 17 deep: cut off
  b.entry(1, 20, 1, 0, cycle_a);
  b.entry(1, 21, 1, 0, self);
  b.entry(1, 22, 1, 0, 999);  // no such item
  b.palette(1, 0, 0, testing::ramp_palette(16));
  const ByteVector bytes = b.bytes();

  auto deep = decode(bytes, 1, 15, 0);
  EXPECT_TRUE(deep.found) << deep.error;
  EXPECT_EQ(deep.pixels, (ByteVector{2, 2, 3, 4, 9, 9}));
  EXPECT_FALSE(decode(bytes, 1, 16, 0).found);
  EXPECT_EQ(decode(bytes, 1, 16, 0).error, "");
  EXPECT_FALSE(decode(bytes, 1, 20, 0).found);
  auto plain = decode(bytes, 1, 21, 0);
  EXPECT_TRUE(plain.found);
  EXPECT_EQ(plain.pixels, (ByteVector{1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(decode(bytes, 1, 22, 0).found);
  EXPECT_FALSE(decode(bytes, 1, 99, 0).found);
}

TEST(UnderlayTable, BinarySearchInBothOrders) {
  for (bool big : {false, true}) {
    const ByteVector table = underlay_table({{2, 20}, {5, 50}, {9, 90}, {300, 3000}, {301, 7}}, big);
    for (auto [item, base] : {std::pair{2, 20}, {5, 50}, {9, 90}, {300, 3000}, {301, 7}}) {
      EXPECT_EQ(underlay_of_in(table, big, static_cast<std::uint16_t>(item)), base) << item;
    }
    for (std::uint16_t missing : {0, 3, 10, 299, 302}) EXPECT_FALSE(underlay_of_in(table, big, missing));
  }
  EXPECT_FALSE(underlay_of_in(ByteVector{2, 0, 20}, false, 2));
}

// The palette rules, each on an archive with one 4-bit image record.
struct PaletteArchive {
  ArchiveBuilder b;
  std::uint16_t image_item;
  PaletteArchive() { image_item = b.add_item(base_payload(false)); }
  PaletteArchive& image(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4) {
    b.entry(c1, c2, 1, c4, image_item);
    return *this;
  }
  // Adds a palette item of `size` bytes whose first byte is `tag`.
  PaletteArchive& palette(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4, std::size_t size, std::uint8_t tag) {
    ByteVector bytes(size, 0);
    for (std::size_t i = 0; i < size; i += 64) bytes[i] = static_cast<std::uint8_t>(tag + i / 64);
    b.palette(c1, c2, c4, std::move(bytes));
    return *this;
  }
  // The first byte of the chosen palette, its size; {0, 0} for none.
  std::pair<int, std::size_t> chosen(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4) const {
    const ByteVector bytes = b.bytes();
    auto d = decode(bytes, c1, c2, c4);
    if (!d.found) return {0, 0};
    return {bytes[d.palette_offset], d.palette_size};
  }
};

TEST(PaletteSelection, Rules) {
  using P = std::pair<int, std::size_t>;
  {
    PaletteArchive a;
    a.image(3, 1, 5).image(3, 1, 6).image(3, 1, 7).image(3, 1, 8);
    a.palette(3, 1, 5, 64, 10);    // own
    a.palette(3, 1, 0xFE, 64, 20); // shared by variants without their own
    a.palette(3, 1, 7, 63, 30);    // wrong size: not used
    EXPECT_EQ(a.chosen(3, 1, 5), (P{10, 64}));
    EXPECT_EQ(a.chosen(3, 1, 6), (P{20, 64}));
    EXPECT_EQ(a.chosen(3, 1, 7), (P{20, 64}));
  }
  {
    // Any variant's 64-byte palette, first in index order.
    PaletteArchive a;
    a.image(4, 2, 9);
    a.palette(4, 2, 3, 1024, 40).palette(4, 2, 1, 64, 41).palette(4, 2, 2, 64, 42);
    EXPECT_EQ(a.chosen(4, 2, 9), (P{41, 64}));
  }
  {
    // Category 8 uses block 1 of its own set, others of category >= 8 the
    // set of category 8 number 3.
    PaletteArchive a;
    a.image(8, 2, 0).image(9, 7, 0).image(8, 6, 0);
    a.palette(8, 2, 0, 384, 50).palette(8, 3, 0, 384, 60);
    EXPECT_EQ(a.chosen(8, 2, 0), (P{51, 64}));
    EXPECT_EQ(a.chosen(9, 7, 0), (P{61, 64}));
    EXPECT_EQ(a.chosen(8, 6, 0), (P{61, 64}));  // no set 6: the fallback set
  }
  {
    // Below category 8: the general palette (1, 0, 9, 0), then the master.
    PaletteArchive a;
    a.image(3, 1, 5);
    a.palette(1, 0, 0, 64, 70).palette(5, 5, 5, 1024, 80);
    EXPECT_EQ(a.chosen(3, 1, 5), (P{70, 64}));
    PaletteArchive master_only;
    master_only.image(3, 1, 5);
    master_only.palette(5, 5, 5, 1024, 80);
    EXPECT_EQ(master_only.chosen(3, 1, 5), (P{80, 1024}));
    PaletteArchive none;
    none.image(3, 1, 5).image(9, 1, 0);
    EXPECT_EQ(none.chosen(3, 1, 5), (P{0, 0}));
    EXPECT_EQ(none.chosen(9, 1, 0), (P{0, 0}));
  }
  {
    // Trailing-palette archives colour everything with the master palette.
    PaletteArchive a;
    a.image(3, 1, 5);
    a.palette(3, 1, 5, 64, 10).palette(6, 6, 6, 1024, 90);
    a.b.flags(0x01);
    // The image payload has no trailing palette of its own; give it one.
    a.b.items[a.image_item - 1] = concat(base_payload(false), ByteVector(16, 0));
    EXPECT_EQ(a.chosen(3, 1, 5), (P{90, 1024}));
  }
  {
    // 8-bit archives always take the master palette, and without one there
    // is no image even though it decodes.
    PaletteArchive a;
    a.image(3, 1, 5);
    a.palette(3, 1, 5, 64, 10);
    a.b.flags(0x40);
    EXPECT_EQ(a.chosen(3, 1, 5), (P{0, 0}));
    a.palette(2, 2, 2, 1024, 95).palette(2, 2, 3, 1024, 96);
    EXPECT_EQ(a.chosen(3, 1, 5), (P{95, 1024}));
  }
}

TEST(PaletteSelection, MasterPaletteSkipsEntriesNamingNoItem) {
  ArchiveBuilder b;
  b.entry(0, 0, 9, 0, 999);
  b.palette(0, 0, 1, ByteVector(1024, 7));
  const ByteVector bytes = b.bytes();
  auto archive = Archive::parse(bytes);
  ASSERT_TRUE(archive);
  auto master = archive->master_pal_irgb();
  ASSERT_TRUE(master);
  EXPECT_EQ(master->size(), 1024u);
  EXPECT_EQ((*master)[0], 7);
}

}  // namespace
}  // namespace zarv::graphics
