#pragma once
// The Standard MIDI File writer behind Hmp::to_smf.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "codec/byte_buffer.hpp"
#include "music/hmp/hmp.hpp"

namespace zarv::music::smf {

// Ticks per quarter note of every file written here.
inline constexpr std::uint16_t kDivision = 60;
// The tempo written when the song gives none: 120 quarter notes a minute.
inline constexpr std::uint32_t kDefaultTempo = 500'000;

// Appends `value` in the MIDI variable-length form: big-endian groups of 7
// bits, bit 7 set on every byte but the last; one to five bytes (values of
// 2^28 and above take five).
void push_vlq(codec::ByteBuffer& out, std::uint32_t value);

// Microseconds per quarter note for a tempo in quarter notes per minute, as
// the 24 bits a tempo event can hold.
std::uint32_t tempo_for_bpm(std::uint32_t bpm);

// A format-1 file with one track per song track and 60 ticks per quarter
// note. The first track opens with the song's tempo at tick 0. Channel
// events are written in full (no running status); the song's empty
// end-of-track events are dropped, their deltas carried to the next event,
// and every track ends with exactly one end-of-track event.
codec::ByteBuffer encode(const Hmp& song);

// The two steps of encode, for writers that hold one track at a time: the
// 14-byte header, then each track's chunk (the first one given the song's
// tempo in quarter notes per minute, the others nullopt).
void write_header(codec::ByteBuffer& out, std::size_t track_count);
void write_track(codec::ByteBuffer& out, const hmp::Track& track, std::optional<std::uint32_t> tempo_of_bpm);

}  // namespace zarv::music::smf
