#include "samples/music_samples.hpp"

namespace zarv::samples {

HmpTrack& HmpTrack::delta(std::uint32_t ticks) {
  // Four groups of seven bits at most; the last byte carries bit 7.
  do {
    const auto group = static_cast<std::uint8_t>(ticks & 0x7F);
    ticks >>= 7;
    bytes_.u8(ticks == 0 ? static_cast<std::uint8_t>(group | 0x80) : group);
  } while (ticks != 0);
  return *this;
}

HmpTrack& HmpTrack::event(std::uint8_t status, std::initializer_list<std::uint8_t> data) {
  if (status != 0) bytes_.u8(status);
  for (std::uint8_t b : data) bytes_.u8(b);
  return *this;
}

void HmpTrack::midi_length(std::uint32_t value) {
  // Big-endian groups of seven bits, bit 7 on every byte but the last.
  std::uint8_t groups[4];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && n < 4);
  while (n > 1) bytes_.u8(static_cast<std::uint8_t>(groups[--n] | 0x80));
  bytes_.u8(groups[0]);
}

HmpTrack& HmpTrack::sysex(std::initializer_list<std::uint8_t> body) {
  bytes_.u8(0xF0);
  midi_length(static_cast<std::uint32_t>(body.size()));
  for (std::uint8_t b : body) bytes_.u8(b);
  return *this;
}

HmpTrack& HmpTrack::meta(std::uint8_t kind, std::span<const std::uint8_t> body) {
  bytes_.u8(0xFF).u8(kind);
  midi_length(static_cast<std::uint32_t>(body.size()));
  bytes_.raw(body);
  return *this;
}

HmpTrack& HmpTrack::meta_text(std::uint8_t kind, std::string_view text) {
  return meta(kind, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::vector<std::uint8_t> hmp_file(const std::vector<HmpTrack>& tracks, std::uint32_t bpm) {
  Bytes file(Order::Little);
  file.text("HMIMIDIP013195");
  file.fill(0x30 - file.size(), 0);
  file.u32(static_cast<std::uint32_t>(tracks.size()));
  file.u32(0);  // not read
  file.u32(bpm);
  file.fill(904 - file.size(), 0);
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    file.u32(static_cast<std::uint32_t>(i));  // chunk number, not read
    file.u32(static_cast<std::uint32_t>(12 + tracks[i].data().size()));
    file.u32(0);  // not read
    file.raw(tracks[i].data());
  }
  return file.take();
}

namespace {

constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr std::uint32_t kQuarter = 60;

HmpTrack conductor_track() {
  HmpTrack t;
  const std::uint8_t four_four[] = {4, 2, 24, 8};
  const std::uint8_t slower[] = {0x07, 0xA1, 0x20};  // 500,000 microseconds: 120 a minute
  t.delta(0).meta_text(0x03, "zarv demo song");
  t.delta(0).meta(0x58, four_four);
  t.delta(0).sysex({0x7E, 0x7F, 0x09, 0x01, 0xF7});  // general reset
  t.delta(8 * kQuarter).meta(0x51, slower);
  t.delta(8 * kQuarter).meta(kEndOfTrack, {});
  return t;
}

// A tune of (key, length in quarters / 2) pairs on one channel. After the
// first note every event uses running status: note-offs are note-ons with
// velocity 0.
HmpTrack tune_track(std::string_view name, std::uint8_t channel, std::uint8_t program,
                    std::initializer_list<std::pair<std::uint8_t, std::uint32_t>> notes, std::uint8_t velocity) {
  HmpTrack t;
  const auto on = static_cast<std::uint8_t>(0x90 | channel);
  t.delta(0).meta_text(0x03, name);
  t.delta(0).event(static_cast<std::uint8_t>(0xC0 | channel), {program});
  t.delta(0).event(static_cast<std::uint8_t>(0xB0 | channel), {0x07, 100});  // volume
  bool first = true;
  for (const auto& [key, halves] : notes) {
    t.delta(0).event(first ? on : 0, {key, velocity});
    t.delta(halves * kQuarter / 2).event(0, {key, 0});
    first = false;
  }
  t.delta(kQuarter).meta(kEndOfTrack, {});
  return t;
}

HmpTrack drum_track() {
  HmpTrack t;
  t.delta(0).meta_text(0x03, "drums");
  for (int bar = 0; bar < 4; ++bar) {
    for (int beat = 0; beat < 4; ++beat) {
      const std::uint8_t key = beat % 2 == 0 ? 36 : 38;  // bass drum, snare
      t.delta(0).event(bar == 0 && beat == 0 ? 0x99 : 0, {key, 110});
      t.delta(kQuarter / 2).event(0, {key, 0});
      t.delta(0).event(0, {42, 80});  // closed hi-hat
      t.delta(kQuarter / 2).event(0, {42, 0});
    }
  }
  t.delta(0).event(0x89, {42, 0});  // a plain note-off as well
  t.delta(0).meta(kEndOfTrack, {});
  return t;
}

}  // namespace

std::vector<std::uint8_t> hmp_demo_song() {
  std::vector<HmpTrack> tracks;
  tracks.push_back(conductor_track());
  tracks.push_back(tune_track("melody", 0, 73,
                              {{72, 2}, {74, 2}, {76, 2}, {77, 2}, {79, 4}, {79, 4}, {81, 2}, {81, 2}, {81, 2},
                               {81, 2}, {79, 8}},
                              96));
  tracks.push_back(tune_track("bass", 1, 33, {{36, 8}, {41, 8}, {43, 8}, {36, 8}}, 90));
  tracks.push_back(drum_track());
  // A pitch bend and a pressure event on the melody's channel, too.
  tracks[1].delta(0).event(0xE0, {0x00, 0x40}).delta(0).event(0xD0, {0x20});
  return hmp_file(tracks, 132);
}

std::vector<std::uint8_t> hmp_large_song(std::size_t target_bytes, bool running_status) {
  constexpr std::size_t kTracks = 16;
  std::vector<HmpTrack> tracks(kTracks);
  for (std::size_t i = 0; i < kTracks; ++i) {
    const auto channel = static_cast<std::uint8_t>(i);
    HmpTrack& t = tracks[i];
    t.delta(0).meta_text(0x03, "track");
    t.delta(0).event(static_cast<std::uint8_t>(0xC0 | channel), {static_cast<std::uint8_t>(i * 7)});
    const auto note_on = static_cast<std::uint8_t>(0x90 | channel);
    const std::uint8_t repeat = running_status ? 0 : note_on;
    t.delta(0).event(note_on, {60, 100});
    std::uint32_t step = 0;
    while (t.data().size() < target_bytes / kTracks) {
      const auto key = static_cast<std::uint8_t>(48 + (step * 5 + i) % 36);
      t.delta(step % 3 == 0 ? 200 : 15).event(repeat, {key, 100});
      t.delta(30).event(repeat, {key, 0});
      if (step % 64 == 0) t.delta(0).event(static_cast<std::uint8_t>(0xB0 | channel), {0x0A, 64}).delta(0).event(
          static_cast<std::uint8_t>(0x90 | channel), {key, 0});
      ++step;
    }
    t.delta(0).meta(kEndOfTrack, {});
  }
  return hmp_file(tracks, 120);
}

void write_music_samples(const SampleSink& sink) { sink("song.hmp", hmp_demo_song()); }

}  // namespace zarv::samples
