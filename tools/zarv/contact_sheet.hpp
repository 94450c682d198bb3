#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics_index.hpp"

namespace zarv::cli {

struct SheetImage {
  ImageKey key;
  std::filesystem::path file;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

struct SheetFailure {
  ImageKey key;
  std::string reason;
};

// What came out of one archive.
struct ArchiveSheet {
  std::string name;
  std::vector<SheetImage> images;
  std::vector<SheetFailure> failed;
  std::string problem;            // the archive itself could not be read
  bool problem_reported = false;  // and that was said on stderr already
};

// Writes one static HTML page showing every extracted image with its class
// numbers (linked relative to the page), and what failed and why.
bool write_contact_sheet(const std::filesystem::path& page, const std::vector<ArchiveSheet>& sheets);

}  // namespace zarv::cli
