#pragma once
#include <cstdint>
#include <string_view>

namespace zarv::music {

// The music containers the library tells apart by their magic bytes.
enum class Format : std::uint8_t {
  Hmp,        // "HMIMIDIP" at 0: the DOS release's songs
  Mod,        // "M.K." at 1080: a four-channel ProTracker module
  PackedMod,  // "P41A" at 0: a module packed with The Player 4.1A
  Smf,        // "MThd" at 0: a Standard MIDI File
};

// The name shown inside error messages ("Hmp", "Mod",
// "Mod (packed with The Player 4.1A)", "Smf").
std::string_view display_name(Format format);

}  // namespace zarv::music
