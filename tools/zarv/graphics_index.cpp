#include "graphics_index.hpp"

#include <set>
#include <tuple>

namespace zarv::cli {
namespace {

constexpr std::uint8_t kImageKind = 1;
constexpr std::size_t kEntrySize = 8;

std::uint32_t read_be(std::span<const std::uint8_t> b, std::size_t at, std::size_t n) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}

std::uint32_t read_le(std::span<const std::uint8_t> b, std::size_t at, std::size_t n) {
  std::uint32_t v = 0;
  for (std::size_t i = n; i-- > 0;) v = v << 8 | b[at + i];
  return v;
}

}  // namespace

ImageListing list_image_records(std::span<const std::uint8_t> archive) {
  ImageListing out;
  if (archive.size() < 8) {
    out.problem = "too short for a graphics archive";
    return out;
  }
  bool big;
  if ((archive[1] & 0x80) != 0) {
    big = false;
  } else if ((archive[0] & 0x80) != 0) {
    big = true;
  } else {
    out.problem = "not a graphics archive signature";
    return out;
  }
  auto read = [&](std::size_t at, std::size_t n) { return big ? read_be(archive, at, n) : read_le(archive, at, n); };
  const std::size_t n_items = read(2, 2);
  const std::size_t index_size = read(4, 4);
  const std::size_t index_start = 2 * n_items + 6;
  if (n_items == 0 || index_start > archive.size() || index_size > archive.size() - index_start) {
    out.problem = "the index lies outside the file";
    return out;
  }
  const auto index = archive.subspan(index_start, index_size);
  if (index.size() < 6 || index[0] != 0x80 || index[1] != 0x01) {
    out.problem = "the index has no valid magic";
    return out;
  }
  const std::size_t n_entries = read_be(index, 2, 2);
  const std::size_t entries_start = 6 + 2 * read_be(index, 4, 2);
  if (entries_start > index.size() || n_entries > (index.size() - entries_start) / kEntrySize) {
    out.problem = "the index is shorter than its entry count";
    return out;
  }
  std::set<std::tuple<std::uint8_t, std::uint8_t, std::uint8_t>> seen;
  for (std::size_t e = 0; e < n_entries; ++e) {
    const auto* entry = index.data() + entries_start + e * kEntrySize;
    if (entry[2] != kImageKind) continue;
    if (seen.emplace(entry[0], entry[1], entry[3]).second) out.images.push_back({entry[0], entry[1], entry[3]});
  }
  return out;
}

}  // namespace zarv::cli
