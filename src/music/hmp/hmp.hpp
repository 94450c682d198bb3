#pragma once
// An HMP song (the DOS release's music): its tracks of MIDI events and its
// tempo, read from the "HMIMIDIP" container, version "013195".
#include <cstdint>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "music/error.hpp"
#include "music/hmp/event.hpp"

namespace zarv::music {

struct Hmp {
  std::vector<hmp::Track> tracks;  // in file order
  std::uint32_t bpm = 0;           // quarter notes per minute; 0 when the file gives none

  // Reads the header, the chunk directory and every track. The song owns
  // its data; the input may go away afterwards. Fails with Truncated,
  // HmpSignature, HmpVersion, OutOfRange (chunk directory), HmpUnknownStatus
  // or HmpDeltaUnterminated; offsets in track errors count from the start of
  // that track's event data.
  static tl::expected<Hmp, Error> parse(std::span<const std::uint8_t> bytes);

  // The song as a format-1 Standard MIDI File (smf::encode). Cannot fail.
  codec::ByteBuffer to_smf() const;

  // parse(bytes) then to_smf(), with the same result and the same first
  // error, but holding one track's events at a time instead of the whole
  // song's (about ten bytes per input byte), reusing their storage from
  // track to track.
  static tl::expected<codec::ByteBuffer, Error> convert_to_smf(std::span<const std::uint8_t> bytes);
};

}  // namespace zarv::music
