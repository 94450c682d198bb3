#include "music/detect.hpp"

#include <algorithm>
#include <string_view>

namespace zarv::music {
namespace {

bool has_magic(std::span<const std::uint8_t> bytes, std::size_t offset, std::string_view magic) {
  if (offset > bytes.size() || magic.size() > bytes.size() - offset) return false;
  return std::equal(magic.begin(), magic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                    [](char m, std::uint8_t b) { return static_cast<std::uint8_t>(m) == b; });
}

}  // namespace

tl::expected<Format, Error> detect(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8) return tl::unexpected(Error(Truncated{8, bytes.size()}));
  if (has_magic(bytes, 0, "HMIMIDIP")) return Format::Hmp;
  if (has_magic(bytes, 0, "MThd")) return Format::Smf;
  if (has_magic(bytes, 0, "P41A")) return Format::PackedMod;
  if (has_magic(bytes, 1080, "M.K.")) return Format::Mod;
  return tl::unexpected(Error(UnrecognizedFormat{}));
}

}  // namespace zarv::music
