#include "music/format.hpp"

namespace zarv::music {

std::string_view display_name(Format format) {
  switch (format) {
    case Format::Hmp:
      return "Hmp";
    case Format::Mod:
      return "Mod";
    case Format::PackedMod:
      return "Mod (packed with The Player 4.1A)";
    case Format::Smf:
      return "Smf";
  }
  return "unknown";
}

}  // namespace zarv::music
