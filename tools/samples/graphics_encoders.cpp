#include "samples/graphics_encoders.hpp"

#include <algorithm>
#include <stdexcept>

namespace zarv::samples {
namespace {

constexpr std::uint16_t kPassthroughMark = 0x8000;
constexpr std::uint16_t kEightBitMark = 0x7C00;

void write_header(Bytes& out, const Picture& picture, std::uint16_t y_mark = 0) {
  out.u16(picture.width);
  out.u16(static_cast<std::uint16_t>(picture.height | y_mark));
}

// Collects nibbles, high half first, into bytes.
class NibbleWriter {
 public:
  void put(unsigned nibble) {
    if (high_) {
      bytes_.push_back(static_cast<std::uint8_t>((nibble & 0xF) << 4));
    } else {
      bytes_.back() |= static_cast<std::uint8_t>(nibble & 0xF);
    }
    high_ = !high_;
  }
  // A value of `count` nibbles, most significant first.
  void put_value(unsigned value, int count) {
    for (int i = count - 1; i >= 0; --i) put(value >> (4 * i));
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
  bool high_ = true;
};

// The pixels are addressed as one sequence in row order; a pixel's
// neighbour above is `width` places back.
std::size_t run_length(const Picture& p, std::size_t i, std::size_t limit) {
  std::size_t n = 1;
  while (i + n < p.pixels.size() && n < limit && p.pixels[i + n] == p.pixels[i]) ++n;
  return n;
}

std::size_t copy_length(const Picture& p, std::size_t i, std::size_t limit) {
  if (i < p.width) return 0;
  std::size_t n = 0;
  while (i + n < p.pixels.size() && n < limit && p.pixels[i + n] == p.pixels[i + n - p.width]) ++n;
  return n;
}

std::size_t same_as_underlay(const Picture& p, const Picture* under, std::size_t i, std::size_t limit) {
  if (under == nullptr) return 0;
  std::size_t n = 0;
  while (i + n < p.pixels.size() && n < limit && p.pixels[i + n] == under->pixels[i + n]) ++n;
  return n;
}

// ---- C4towns ----

void c4_literals(NibbleWriter& out, const Picture& p, std::size_t i, std::size_t n) {
  const bool odd = (n & 1) != 0;
  if (n <= 256) {
    out.put(0x9);
    out.put(odd ? p.pixels[i] : 0);
    out.put_value(static_cast<unsigned>(n - 1), 2);
  } else {
    out.put(0xD);
    out.put(odd ? p.pixels[i] : 0);
    out.put_value(static_cast<unsigned>(n - 1), 4);
  }
  for (std::size_t k = odd ? 1 : 0; k < n; ++k) out.put(p.pixels[i + k]);
}

void c4_run(NibbleWriter& out, std::uint8_t colour, std::size_t n) {
  if (n <= 8) {
    out.put(static_cast<unsigned>(n - 1));
    out.put(colour);
  } else if (n <= 256) {
    out.put(0x8);
    out.put(colour);
    out.put_value(static_cast<unsigned>(n - 1), 2);
  } else {
    out.put(0xC);
    out.put(colour);
    out.put_value(static_cast<unsigned>(n - 1), 4);
  }
}

}  // namespace

std::vector<std::uint8_t> encode_c4towns(const Picture& p, Order order) {
  Bytes out(order);
  write_header(out, p);
  NibbleWriter stream;
  const std::size_t total = p.pixels.size();
  std::size_t i = 0;
  while (i < total) {
    const std::size_t copy = copy_length(p, i, 65536);
    const std::size_t run = run_length(p, i, 65536);
    // A copy takes the pixel after it as its colour, so it needs one.
    if (copy >= 3 && copy >= run && i + copy < total) {
      const bool short_form = copy <= 256;
      stream.put(short_form ? 0xB : 0xF);
      stream.put(p.pixels[i + copy]);
      stream.put_value(static_cast<unsigned>(copy - 1), short_form ? 2 : 4);
      i += copy + 1;
    } else if (p.pixels[i] == 0 && run >= 11) {
      // Nothing has been written ahead of us, so a skip leaves zeros.
      stream.put(0xA);
      stream.put(0);
      i += 11;
    } else if (run >= 2) {
      c4_run(stream, p.pixels[i], run);
      i += run;
    } else {
      // Gather pixels until a run or a copy would pay.
      std::size_t n = 1;
      while (i + n < total && n < 65536 && run_length(p, i + n, 3) < 3 && copy_length(p, i + n, 3) < 3) ++n;
      c4_literals(stream, p, i, n);
      i += n;
    }
  }
  out.raw(stream.take());
  return out.take();
}

std::vector<std::uint8_t> encode_fm_towns_u4(const Picture& p, Order order) {
  Bytes out(order);
  write_header(out, p, kPassthroughMark);
  out.fill(4, 0);
  const std::size_t row_bytes = ((p.width + 1) / 2 + 15) / 16 * 16;
  for (std::size_t y = 0; y < p.height; ++y) {
    std::vector<std::uint8_t> row(row_bytes, 0);
    for (std::size_t x = 0; x < p.width; ++x) {
      const std::uint8_t v = p.at(x, y) & 0xF;
      row[x / 2] |= static_cast<std::uint8_t>((x & 1) == 0 ? v : v << 4);
    }
    out.raw(row);
  }
  return out.take();
}

// ---- 4-bit body ----

namespace {

// The colours used most often, most frequent first, to fill the table.
std::vector<std::uint8_t> frequent_colours(const Picture& p, std::size_t count) {
  std::array<std::size_t, 16> histogram{};
  for (auto v : p.pixels) ++histogram[v & 0xF];
  std::vector<std::uint8_t> colours(16);
  for (std::size_t c = 0; c < 16; ++c) colours[c] = static_cast<std::uint8_t>(c);
  std::stable_sort(colours.begin(), colours.end(),
                   [&](std::uint8_t a, std::uint8_t b) { return histogram[a] > histogram[b]; });
  colours.resize(count);
  return colours;
}

void body_count(NibbleWriter& out, std::size_t n) {
  if (n <= 16) {
    out.put(static_cast<unsigned>(n - 2));
  } else if (n <= 271) {
    out.put(0xF);
    out.put_value(static_cast<unsigned>(n - 17), 2);
  } else {
    out.put(0xF);
    out.put_value(0xFF, 2);
    out.put_value(static_cast<unsigned>(n), 4);
  }
}

void body_step(NibbleWriter& out, unsigned code, std::optional<std::uint8_t> colour, std::size_t n) {
  out.put(code | (n > 1 ? 0x8 : 0));
  if (colour) out.put(*colour);
  if (n > 1) body_count(out, n);
}

}  // namespace

std::vector<std::uint8_t> encode_4bit_body(const Picture& p, Order order, const Picture* underlay,
                                           const std::optional<LocalPalette>& local_palette) {
  if (underlay != nullptr && (underlay->width != p.width || underlay->height != p.height)) {
    throw std::invalid_argument("an overlay and its underlay differ in size");
  }
  Bytes out(order);
  write_header(out, p);
  NibbleWriter stream;
  const std::size_t table_size = underlay != nullptr ? 5 : 6;
  const auto table = frequent_colours(p, table_size);
  for (auto c : table) stream.put(c);

  const std::size_t total = p.pixels.size();
  constexpr std::size_t kLongest = 65535;
  std::size_t i = 0;
  while (i < total) {
    const std::size_t transparent = same_as_underlay(p, underlay, i, kLongest);
    const std::size_t copy = copy_length(p, i, kLongest);
    const std::size_t run = run_length(p, i, kLongest);
    if (transparent >= 2 && transparent >= copy && transparent >= run) {
      body_step(stream, 5, std::nullopt, transparent);
      i += transparent;
    } else if (copy >= 2 && copy > run) {
      body_step(stream, 6, std::nullopt, copy);
      i += copy;
    } else {
      const std::uint8_t colour = p.pixels[i] & 0xF;
      const auto slot = std::find(table.begin(), table.end(), colour);
      if (slot != table.end()) {
        body_step(stream, static_cast<unsigned>(slot - table.begin()), std::nullopt, run);
      } else {
        body_step(stream, 7, colour, run);
      }
      i += run;
    }
  }
  out.raw(stream.take());
  if (local_palette) out.raw(*local_palette);
  return out.take();
}

std::vector<std::uint8_t> encode_bits4(const Picture& p, Order order, const LocalPalette& local_palette) {
  Bytes out(order);
  write_header(out, p, kPassthroughMark);
  out.u16(4).fill(4, 0);
  const std::size_t count = p.pixels.size();
  for (std::size_t i = 0; i < count; i += 2) {
    const unsigned high = p.pixels[i] & 0xF;
    const unsigned low = i + 1 < count ? p.pixels[i + 1] & 0xF : 0;
    out.u8(static_cast<std::uint8_t>(high << 4 | low));
  }
  out.raw(local_palette);
  return out.take();
}

std::vector<std::uint8_t> encode_bits8(const Picture& p, Order order) {
  Bytes out(order);
  write_header(out, p, kPassthroughMark);
  out.u16(8).fill(4, 0);
  out.raw(p.pixels);
  return out.take();
}

// ---- LZ77 ----

std::vector<std::uint8_t> encode_lz77(const Picture& p, Order order, std::uint8_t mode) {
  const unsigned shift = mode == 2 ? 4 : 5;
  const std::size_t max_distance = (std::size_t{256} << (8 - shift)) - 1;
  const std::size_t max_length = (std::size_t{1} << shift) + 2;
  Bytes out(order);
  write_header(out, p, kEightBitMark);
  out.u8(0).u8(0).u8(mode).u8(0);

  const auto& data = p.pixels;
  std::vector<std::uint8_t> group;  // the items after the current flag byte
  std::uint8_t flags = 0;
  int items = 0;
  auto flush = [&] {
    if (items == 0) return;
    out.u8(flags).raw(group);
    group.clear();
    flags = 0;
    items = 0;
  };
  // Candidate positions by their next three bytes, newest first, so that
  // large pictures encode in reasonable time; a few candidates per position
  // are enough for sample data.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  constexpr std::size_t kHashSize = 1 << 16;
  constexpr int kCandidates = 32;
  std::vector<std::size_t> head(kHashSize, kNone);
  std::vector<std::size_t> previous(data.size(), kNone);
  auto hash_at = [&](std::size_t at) {
    return (std::size_t{data[at]} << 8 ^ std::size_t{data[at + 1]} << 4 ^ data[at + 2]) * 2654435761u % kHashSize;
  };
  auto remember = [&](std::size_t at) {
    if (at + 2 >= data.size()) return;
    const std::size_t h = hash_at(at);
    previous[at] = head[h];
    head[h] = at;
  };
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t best_length = 0;
    std::size_t best_distance = 0;
    if (i + 2 < data.size()) {
      std::size_t candidate = head[hash_at(i)];
      for (int tries = 0; tries < kCandidates && candidate != kNone && i - candidate <= max_distance; ++tries) {
        std::size_t n = 0;
        while (n < max_length && i + n < data.size() && data[i + n] == data[candidate + n]) ++n;
        if (n > best_length) {
          best_length = n;
          best_distance = i - candidate;
          if (n == max_length) break;
        }
        candidate = previous[candidate];
      }
    }
    if (best_length >= 3) {
      const std::size_t low_bits = best_distance & ((std::size_t{1} << (8 - shift)) - 1);
      group.push_back(static_cast<std::uint8_t>(low_bits << shift | (best_length - 3)));
      group.push_back(static_cast<std::uint8_t>(best_distance >> (8 - shift)));
      for (std::size_t k = 0; k < best_length; ++k) remember(i + k);
      i += best_length;
    } else {
      flags |= static_cast<std::uint8_t>(1u << items);
      group.push_back(data[i]);
      remember(i);
      ++i;
    }
    if (++items == 8) flush();
  }
  flush();
  return out.take();
}

}  // namespace zarv::samples
