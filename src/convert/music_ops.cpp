#include "convert/operations.hpp"
#include "music/detect.hpp"
#include "music/hmp/hmp.hpp"

namespace zarv::convert {
namespace {

// The short tag the host sees for each container.
std::string_view format_tag(music::Format format) {
  switch (format) {
    case music::Format::Hmp:
      return "hmp";
    case music::Format::Mod:
      return "mod";
    case music::Format::PackedMod:
      return "modplayer41a";
    case music::Format::Smf:
      return "smf";
  }
  return "unknown";
}

}  // namespace

Output music_detect(Bytes bytes) {
  auto format = music::detect(bytes);
  if (!format) return tl::unexpected(ConvertError(std::move(format.error())));
  codec::ByteBuffer out;
  out.append(format_tag(*format));
  return out;
}

Output music_hmp_to_smf(Bytes bytes) {
  // Same result as Hmp::parse then to_smf, one track in memory at a time.
  auto smf = music::Hmp::convert_to_smf(bytes);
  if (!smf) return tl::unexpected(ConvertError(std::move(smf.error())));
  return std::move(*smf);
}

}  // namespace zarv::convert
