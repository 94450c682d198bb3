#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "samples/bytes.hpp"

namespace zarv::samples {

// One HMP track's event data, written pair by pair: a delta time in the HMP
// form (least significant 7 bits first, bit 7 set on the last byte), then
// an event.
class HmpTrack {
 public:
  HmpTrack& delta(std::uint32_t ticks);
  // A channel event with its status byte, or (status 0) one that relies on
  // running status: only its data bytes are written.
  HmpTrack& event(std::uint8_t status, std::initializer_list<std::uint8_t> data);
  HmpTrack& sysex(std::initializer_list<std::uint8_t> body);
  HmpTrack& meta(std::uint8_t kind, std::span<const std::uint8_t> body);
  HmpTrack& meta_text(std::uint8_t kind, std::string_view text);

  const std::vector<std::uint8_t>& data() const { return bytes_.data(); }

 private:
  void midi_length(std::uint32_t value);
  Bytes bytes_;
};

// A whole HMP file: the 904-byte header (signature, version "013195", track
// count at 0x30, tempo at 0x38) and one chunk per track.
std::vector<std::uint8_t> hmp_file(const std::vector<HmpTrack>& tracks, std::uint32_t bpm);

// The demo song: a conductor track (names, time signature, a SysEx reset,
// a tempo change of its own) and three instrument tracks using running
// status, on melody, bass and drum channels.
std::vector<std::uint8_t> hmp_demo_song();

// A song of about `target_bytes` bytes (16 busy tracks), for measuring
// conversion speed; with `running_status` false every event carries its
// status byte.
std::vector<std::uint8_t> hmp_large_song(std::size_t target_bytes, bool running_status = true);

// Music files: the HMP demo song.
void write_music_samples(const SampleSink& sink);

}  // namespace zarv::samples
