#include "samples/graphics_samples.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zarv::samples {
namespace {

// ---- pictures: palette indices drawn procedurally ----

template <class Shade>
Picture draw(std::uint16_t width, std::uint16_t height, Shade shade) {
  Picture p{width, height, std::vector<std::uint8_t>(std::size_t{width} * height)};
  for (std::size_t y = 0; y < height; ++y) {
    for (std::size_t x = 0; x < width; ++x) p.pixels[y * width + x] = static_cast<std::uint8_t>(shade(x, y));
  }
  return p;
}

// Concentric rings around the centre, 16 colours.
Picture rings(std::uint16_t w, std::uint16_t h) {
  return draw(w, h, [=](std::size_t x, std::size_t y) {
    const double dx = double(x) - w / 2.0;
    const double dy = double(y) - h / 2.0;
    return static_cast<unsigned>(std::sqrt(dx * dx + dy * dy) / 3) % 16;
  });
}

// A checkerboard of 8-pixel squares over a vertical ramp.
Picture checker(std::uint16_t w, std::uint16_t h) {
  return draw(w, h, [=](std::size_t x, std::size_t y) {
    return ((x / 8 + y / 8) % 2 == 0) ? 0u : static_cast<unsigned>(1 + (y * 14 / h));
  });
}

// Big flat areas, a noisy band and repeated rows: long runs, long copies
// from the row above and long literal runs.
Picture landscape(std::uint16_t w, std::uint16_t h) {
  std::uint32_t seed = 12345;
  std::vector<std::uint8_t> noise(w);
  for (auto& v : noise) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>((seed >> 16) % 16);
  }
  const std::size_t rows = h;
  return draw(w, h, [=](std::size_t x, std::size_t y) {
    if (y < rows / 3) return 9u;                        // sky
    if (y < rows / 3 + 4) return unsigned(noise[x]);  // a band of noise
    if (y < rows * 2 / 3) return (x / 40) % 2 ? 6u : 10u;  // fields, repeated rows
    return 0u;                                       // shadow (skips)
  });
}

// Diagonal stripes with a few isolated pixels.
Picture stripes(std::uint16_t w, std::uint16_t h) {
  return draw(w, h, [](std::size_t x, std::size_t y) {
    if ((x * 7 + y * 3) % 29 == 0) return 15u;
    return static_cast<unsigned>(((x + y) / 5) % 6 + 2);
  });
}

// A smooth 8-bit plasma using all 256 colours.
Picture plasma(std::uint16_t w, std::uint16_t h) {
  return draw(w, h, [=](std::size_t x, std::size_t y) {
    const double v = std::sin(x / 9.0) + std::sin(y / 7.0) + std::sin((x + y) / 13.0);
    return static_cast<unsigned>((v + 3) / 6 * 255) & 0xFF;
  });
}

// An 8-bit horizontal gradient with bands.
Picture gradient8(std::uint16_t w, std::uint16_t h) {
  return draw(w, h, [=](std::size_t x, std::size_t y) { return static_cast<unsigned>((x * 255 / (w - 1)) ^ (y & 8)); });
}

// `base` with a sprite (a filled diamond and a frame) drawn on top: the
// overlay of an underlay, pixels outside the sprite left as the base's.
Picture with_sprite(const Picture& base, std::uint8_t fill, std::uint8_t frame) {
  Picture p = base;
  const double cx = base.width / 2.0;
  const double cy = base.height / 2.0;
  const double r = std::min(base.width, base.height) / 3.0;
  for (std::size_t y = 0; y < base.height; ++y) {
    for (std::size_t x = 0; x < base.width; ++x) {
      const double d = std::abs(double(x) - cx) + std::abs(double(y) - cy);
      if (d < r) p.pixels[y * base.width + x] = fill;
      if (y == 2 || y + 3 == base.height) p.pixels[y * base.width + x] = frame;
    }
  }
  return p;
}

// ---- palettes: 4-byte entries (index, red, green, blue) ----

struct Rgb {
  std::uint8_t r, g, b;
};

std::vector<std::uint8_t> palette16(Rgb from, Rgb to) {
  std::vector<std::uint8_t> out;
  for (unsigned k = 0; k < 16; ++k) {
    auto mix = [k](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a + (int(b) - a) * int(k) / 15); };
    out.insert(out.end(), {static_cast<std::uint8_t>(k), mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)});
  }
  return out;
}

// Six 16-colour palettes, one after the other.
std::vector<std::uint8_t> palette_set(std::uint8_t hue) {
  std::vector<std::uint8_t> out;
  for (unsigned block = 0; block < 6; ++block) {
    const auto p = palette16({0, 0, 0}, {static_cast<std::uint8_t>(hue + 40 * block), static_cast<std::uint8_t>(255 - 40 * block),
                                         static_cast<std::uint8_t>(120 + 20 * block)});
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

// 256 colours around the colour wheel, the entries stored in reverse index
// order (each entry names its index).
std::vector<std::uint8_t> master_palette() {
  std::vector<std::uint8_t> out;
  for (int k = 255; k >= 0; --k) {
    const double a = k / 256.0 * 6.2831853;
    auto channel = [&](double phase) { return static_cast<std::uint8_t>(127.5 + 127.5 * std::sin(a + phase)); };
    out.insert(out.end(), {static_cast<std::uint8_t>(k), channel(0), channel(2.094), channel(4.188)});
  }
  return out;
}

LocalPalette local_palette(std::uint8_t first) {
  LocalPalette p{};
  for (unsigned k = 0; k < 16; ++k) p[k] = static_cast<std::uint8_t>(first + 13 * k);
  return p;
}

// ---- archives ----

struct IndexEntry {
  std::uint8_t cls1, cls2, cls3, cls4;
  std::uint16_t data;
};

class ArchiveWriter {
 public:
  ArchiveWriter(Order order, std::uint16_t version) : order_(order), version_(version) {}

  Order order() const { return order_; }
  std::uint16_t add_item(std::vector<std::uint8_t> bytes) {
    items_.push_back(std::move(bytes));
    return static_cast<std::uint16_t>(items_.size());
  }
  void entry(std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint8_t c4, std::uint16_t data) {
    entries_.push_back({c1, c2, c3, c4, data});
  }
  void palette(std::uint8_t c1, std::uint8_t c2, std::uint8_t c4, std::vector<std::uint8_t> bytes) {
    entry(c1, c2, 9, c4, add_item(std::move(bytes)));
  }
  void flags(std::uint16_t value) { entry(0, 0, 11, 0, value); }
  // Records (overlay item, underlay item), sorted as the lookup expects.
  void underlays(std::vector<std::pair<std::uint16_t, std::uint16_t>> records) {
    std::sort(records.begin(), records.end());
    Bytes table(order_);
    for (auto [overlay, base] : records) table.u16(overlay).u16(base);
    entry(0, 0, 8, 0, add_item(table.take()));
  }

  std::vector<std::uint8_t> bytes() const {
    // The index is big-endian in every archive; with its self-description.
    Bytes index(Order::Big);
    index.u8(0x80).u8(0x01).u16be(static_cast<std::uint16_t>(entries_.size())).u16be(7);
    index.text("T").u8(1).text("I").u8(1).text("D").u8(1).text("S").u8(1).text("F").u8(1).text("G").u8(1);
    index.text("P").u8(2);
    for (const auto& e : entries_) index.u8(e.cls1).u8(e.cls2).u8(e.cls3).u8(e.cls4).u8(0).u8(0).u16be(e.data);

    Bytes out(order_);
    out.u16(static_cast<std::uint16_t>(0x8000 | version_));
    out.u16(static_cast<std::uint16_t>(items_.size() + 1));
    out.u32(static_cast<std::uint32_t>(index.size()));
    for (const auto& item : items_) out.u16(static_cast<std::uint16_t>(item.size()));
    out.raw(index.data());
    for (const auto& item : items_) out.raw(item);
    return out.take();
  }

 private:
  Order order_;
  std::uint16_t version_;
  std::vector<std::vector<std::uint8_t>> items_;
  std::vector<IndexEntry> entries_;
};

// Stores an image record and remembers the picture it must decode to.
std::uint16_t add_image(ArchiveWriter& a, GraphicsSample& s, std::uint8_t c1, std::uint8_t c2, std::uint8_t c4,
                        std::string form, const Picture& picture, std::vector<std::uint8_t> payload) {
  const auto item = a.add_item(std::move(payload));
  a.entry(c1, c2, 1, c4, item);
  s.images.push_back({c1, c2, c4, std::move(form), picture});
  return item;
}

const char* order_suffix(Order order) { return order == Order::Little ? "le" : "be"; }

// Format 4: C4towns and FM-Towns passthrough images, an overlay, and the
// 16-colour palette rules (own, shared by variants, sets of six, general).
GraphicsSample format4_sample(Order order) {
  ArchiveWriter a(order, 4);
  GraphicsSample s;
  s.name = std::string("graphics-v4-") + order_suffix(order) + ".dat";
  auto image = [&](auto&&... args) { return add_image(a, s, std::forward<decltype(args)>(args)...); };
  a.palette(1, 0, 0, palette16({10, 10, 30}, {250, 240, 200}));  // the general palette

  const Picture ring = rings(64, 48);
  const auto ring_item = image(1, 1, 0, "C4towns", ring, encode_c4towns(ring, order));
  a.palette(1, 1, 0, palette16({40, 0, 0}, {255, 220, 120}));

  const Picture chk = checker(37, 23);  // odd width: the codec's padding column
  image(1, 2, 0, "C4towns", chk, encode_c4towns(chk, order));
  image(1, 2, 1, "C4towns", stripes(37, 23), encode_c4towns(stripes(37, 23), order));
  a.palette(1, 2, 0xFE, palette16({0, 30, 0}, {200, 255, 160}));

  const Picture land = landscape(300, 240);
  image(2, 0, 0, "C4towns (long runs, copies and literals)", land, encode_c4towns(land, order));

  const Picture towns = stripes(45, 20);
  image(2, 1, 0, "FmTownsU4", towns, encode_fm_towns_u4(towns, order));

  const Picture sprite = with_sprite(ring, 15, 3);
  const auto overlay_item = image(3, 0, 0, "overlay (4-bit body) over C4towns", sprite,
                                  encode_4bit_body(sprite, order, &ring, std::nullopt));
  a.underlays({{overlay_item, ring_item}});

  a.palette(8, 2, 0, palette_set(20));
  a.palette(8, 3, 0, palette_set(160));
  const Picture set_picture = rings(32, 32);
  image(8, 2, 0, "C4towns, palette from a set", set_picture, encode_c4towns(set_picture, order));
  image(9, 7, 0, "C4towns, fallback palette set", chk, encode_c4towns(chk, order));

  s.bytes = a.bytes();
  return s;
}

// Format 5 with 8-bit images and trailing local palettes: LZ77 with both
// shifts, both passthrough forms, the 4-bit body with its local palette and
// an overlay, all coloured by the master palette.
GraphicsSample format5_sample(Order order) {
  ArchiveWriter a(order, 5);
  GraphicsSample s;
  s.name = std::string("graphics-v5-") + order_suffix(order) + ".dat";
  auto image = [&](auto&&... args) { return add_image(a, s, std::forward<decltype(args)>(args)...); };
  a.flags(0x41);
  a.palette(0, 0, 1, master_palette());

  const Picture wave = plasma(96, 64);
  image(4, 0, 0, "8-bit LZ77, mode 2", wave, encode_lz77(wave, order, 2));
  const Picture ramp = gradient8(80, 40);
  image(4, 1, 0, "8-bit LZ77, mode 3", ramp, encode_lz77(ramp, order, 3));
  const Picture raw8 = plasma(50, 30);
  image(4, 2, 0, "Bits8 passthrough", raw8, encode_bits8(raw8, order));
  const Picture raw4 = stripes(33, 17);
  image(5, 0, 0, "Bits4 passthrough with local palette", raw4, encode_bits4(raw4, order, local_palette(7)));
  const Picture body = rings(64, 48);
  const auto body_item =
      image(5, 1, 0, "4-bit body with local palette", body, encode_4bit_body(body, order, nullptr, local_palette(30)));
  const Picture sprite = with_sprite(body, 12, 1);
  const auto overlay_item = image(5, 2, 0, "overlay over a 4-bit body", sprite,
                                  encode_4bit_body(sprite, order, &body, local_palette(90)));
  a.underlays({{overlay_item, body_item}});

  s.bytes = a.bytes();
  return s;
}

// Format 5 with 16-colour palettes only (no flags): 4-bit bodies, a Bits4
// image (its local palette unused), an overlay chain and the fallbacks.
GraphicsSample format5_console_sample(Order order) {
  ArchiveWriter a(order, 5);
  GraphicsSample s;
  s.name = std::string("graphics-v5-16c-") + order_suffix(order) + ".dat";
  auto image = [&](auto&&... args) { return add_image(a, s, std::forward<decltype(args)>(args)...); };
  a.palette(1, 0, 0, palette16({0, 0, 0}, {255, 255, 255}));
  a.palette(6, 0, 0, palette16({0, 0, 60}, {120, 255, 255}));
  const Picture land = landscape(160, 100);
  const auto base = image(6, 0, 0, "4-bit body", land, encode_4bit_body(land, order, nullptr, std::nullopt));
  const Picture first = with_sprite(land, 4, 2);
  const auto middle = image(6, 0, 1, "overlay over a 4-bit body", first,
                            encode_4bit_body(first, order, &land, std::nullopt));
  Picture second = first;
  for (std::size_t x = 0; x < second.width; x += 3) second.pixels[10 * second.width + x] = 14;
  const auto top = image(6, 0, 2, "overlay over an overlay", second,
                         encode_4bit_body(second, order, &first, std::nullopt));
  a.underlays({{middle, base}, {top, middle}});
  const Picture raw4 = checker(20, 12);
  image(7, 0, 0, "Bits4 passthrough, general palette", raw4, encode_bits4(raw4, order, local_palette(0)));
  s.bytes = a.bytes();
  return s;
}

// Damaged images next to a good one, so that batch extraction has
// something to report.
GraphicsSample damaged_sample() {
  const Order order = Order::Little;
  ArchiveWriter a(order, 4);
  GraphicsSample s;
  s.name = "graphics-damaged-v4-le.dat";
  a.palette(1, 0, 0, palette16({0, 0, 0}, {255, 200, 100}));
  const Picture good = rings(24, 24);
  a.entry(1, 1, 1, 0, a.add_item(encode_c4towns(good, order)));
  s.images.push_back({1, 1, 0, "C4towns", good});

  auto broken = [&](std::uint8_t c2, std::string form, std::vector<std::uint8_t> payload) {
    const auto item = a.add_item(std::move(payload));
    a.entry(1, c2, 1, 0, item);
    s.broken.push_back({1, c2, 0, std::move(form), {}});
    return item;
  };
  Bytes unknown(order);
  unknown.u16(8).u16(8).u8(0x13).u8(0xE0);
  broken(2, "C4towns with an unassigned command", unknown.take());
  auto short_towns = encode_fm_towns_u4(stripes(8, 8), order);
  short_towns.pop_back();
  broken(3, "FmTownsU4 one byte short", std::move(short_towns));
  const Picture small = rings(16, 16);
  const auto small_item = a.add_item(encode_c4towns(small, order));
  const Picture other = rings(24, 24);
  const auto mismatched = broken(4, "overlay over a base of another size",
                                 encode_4bit_body(other, order, &other, std::nullopt));
  a.underlays({{mismatched, small_item}});
  a.entry(1, 5, 1, 0, 999);  // names an item the archive does not have
  s.broken.push_back({1, 5, 0, "record naming a missing item", {}});
  s.bytes = a.bytes();
  return s;
}

}  // namespace

Picture large_picture(std::uint16_t width, std::uint16_t height, bool eight_bit) {
  // The top half smooth shapes, the bottom half flat areas with a noisy
  // band: the mix of runs, copies and literals that real pictures have.
  const Picture top = eight_bit ? plasma(width, height) : rings(width, height);
  const Picture bottom = landscape(width, height);
  Picture p = top;
  const std::size_t half = std::size_t{width} * (height / 2);
  std::copy(bottom.pixels.begin() + static_cast<std::ptrdiff_t>(half), bottom.pixels.end(),
            p.pixels.begin() + static_cast<std::ptrdiff_t>(half));
  return p;
}

std::vector<GraphicsSample> graphics_samples() {
  std::vector<GraphicsSample> out;
  for (Order order : {Order::Little, Order::Big}) {
    out.push_back(format4_sample(order));
    out.push_back(format5_sample(order));
  }
  out.push_back(format5_console_sample(Order::Big));
  out.push_back(damaged_sample());
  return out;
}

void write_graphics_samples(const SampleSink& sink) {
  for (const auto& sample : graphics_samples()) sink(sample.name, sample.bytes);
}

}  // namespace zarv::samples
