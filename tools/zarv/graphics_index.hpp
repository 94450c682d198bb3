#pragma once
// The command's own small reader of a graphics archive's index, used only
// to list which image records exist so that batch commands can ask the
// library for each one. It follows the archive's published layout: the
// signature word (its top bit tells the byte order), the entry count, item
// 0's 32-bit size, the 16-bit sizes of the other items, then item 0: the
// big-endian index of 8-byte records (cls1 cls2 cls3 cls4 cls5 cls6 data).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zarv::cli {

// The class numbers that select one image.
struct ImageKey {
  std::uint8_t cls1 = 0;
  std::uint8_t cls2 = 0;
  std::uint8_t cls4 = 0;
};

struct ImageListing {
  std::vector<ImageKey> images;  // distinct keys with record kind 1, in index order
  std::string problem;           // why the index could not be read (images empty then)
};

ImageListing list_image_records(std::span<const std::uint8_t> archive);

}  // namespace zarv::cli
