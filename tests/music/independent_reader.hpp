#pragma once
// Every SMF the music tests produce is also handed to an independent MIDI
// reader (mido, run by check_smf.py after the suite). Beside each file goes
// the listing the reader must find in it, derived here from the song model
// rather than from the writer: per track, each message with its absolute
// tick.
#include <span>
#include <string>

#include "music/hmp/hmp.hpp"

namespace zarv::test {

// With `with_listing` false the file only has to load: for songs holding
// what the reader does not show as stored (an end-of-track event with data).
void keep_for_independent_reader(const std::string& name, const music::Hmp& song,
                                 std::span<const std::uint8_t> smf, bool with_listing = true);

}  // namespace zarv::test
