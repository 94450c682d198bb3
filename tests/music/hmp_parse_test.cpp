#include <gtest/gtest.h>

#include "music/hmp/hmp.hpp"
#include "music/hmp/parser.hpp"
#include "support/hmp_builder.hpp"

namespace zarv::music {
namespace {

using namespace hmp;
using test::ByteVec;
using test::hmp_song;

std::vector<std::uint8_t> body_of(const Track& track, const Event& event) {
  Body body;
  if (const auto* e = std::get_if<SysEx>(&event)) body = e->body;
  if (const auto* e = std::get_if<SysExEscape>(&event)) body = e->body;
  if (const auto* e = std::get_if<Meta>(&event)) body = e->body;
  auto view = track.body(body);
  return {view.begin(), view.end()};
}

TEST(HmpParse, EventsOfEveryKindWithRunningStatus) {
  const ByteVec events = {
      0x80, 0x93, 0x3C, 0x64,        // delta 0; note on, channel 3
      0x85, 0x3C, 0x00,              // delta 5; running status: note on again
      0x05, 0x81, 0xC1, 0x05,        // delta 5 + 1 * 128; program change, channel 1
      0x80, 0xD2, 0x40,              // channel pressure, channel 2
      0x80, 0xE3, 0x00, 0x40,        // pitch bend, channel 3
      0x80, 0xAF, 0x3C, 0x90,        // poly pressure, channel 15, data byte kept with bit 7
      0x80, 0xB0, 0x07, 0x7F,        // control change
      0x80, 0x80, 0x3C, 0x00,        // note off
      0x80, 0xF0, 0x03, 0x41, 0x42, 0xF7,  // SysEx, 3 bytes
      0x80, 0xF7, 0x01, 0xF7,        // SysEx escape, 1 byte
      0x80, 0xFF, 0x03, 0x02, 'h', 'i',    // meta: track name
      0x80, 0x01, 0x01, '!',         // running status after a meta: another meta of kind 0x01
      0xFF, 0xFF, 0x2F, 0x00,        // delta 0x7F; end of track mid-way does not end the track
      0x80, 0x90, 0x40, 0x40,        // note on after it
  };
  auto song = Hmp::parse(hmp_song({events}, 96));
  ASSERT_TRUE(song) << song.error().message();
  EXPECT_EQ(song->bpm, 96u);
  ASSERT_EQ(song->tracks.size(), 1u);
  const Track& track = song->tracks[0];

  const std::vector<Event> expected = {
      Delta{0},        NoteOn{3, {0x3C, 0x64}},       Delta{5},   NoteOn{3, {0x3C, 0x00}},
      Delta{133},      ProgramChange{1, {0x05}},      Delta{0},   ChannelPressure{2, {0x40}},
      Delta{0},        PitchBend{3, {0x00, 0x40}},    Delta{0},   PolyPressure{15, {0x3C, 0x90}},
      Delta{0},        ControlChange{0, {0x07, 0x7F}}, Delta{0},  NoteOff{0, {0x3C, 0x00}},
      Delta{0},        SysEx{{0, 3}},                 Delta{0},   SysExEscape{{3, 1}},
      Delta{0},        Meta{0x03, {4, 2}},            Delta{0},   Meta{0x01, {6, 1}},
      Delta{0x7F},     Meta{0x2F, {7, 0}},            Delta{0},   NoteOn{0, {0x40, 0x40}},
  };
  EXPECT_EQ(track.events, expected);
  EXPECT_EQ(body_of(track, track.events[17]), (ByteVec{0x41, 0x42, 0xF7}));
  EXPECT_EQ(body_of(track, track.events[19]), (ByteVec{0xF7}));
  EXPECT_EQ(body_of(track, track.events[21]), (ByteVec{'h', 'i'}));
  EXPECT_EQ(body_of(track, track.events[23]), (ByteVec{'!'}));
}

TEST(HmpParse, DeltaTimesLeastSignificantGroupFirst) {
  struct Case {
    ByteVec delta;
    std::uint32_t ticks;
  };
  const Case cases[] = {
      {{0x85}, 5},
      {{0x05, 0x81}, 133},
      {{0x00, 0x00, 0x00, 0x80}, 0},  // four bytes is the most, and allowed
      {{0x7F, 0x7F, 0x7F, 0xFF}, (1u << 28) - 1},
  };
  for (const auto& c : cases) {
    ByteVec events = c.delta;
    events.insert(events.end(), {0xC0, 0x01});
    auto song = Hmp::parse(hmp_song({events}));
    ASSERT_TRUE(song) << song.error().message();
    ASSERT_EQ(song->tracks[0].events.size(), 2u);
    EXPECT_EQ(song->tracks[0].events[0], Event(Delta{c.ticks}));
  }
}

TEST(HmpParse, ChunkDirectory) {
  // Three chunks, the middle one empty, then bytes that no chunk claims.
  ByteVec file = hmp_song({{0x80, 0xC0, 0x01}, {}, {0x80, 0xC0, 0x02, 0x80, 0x02}}, 0);
  file.insert(file.end(), {0xDE, 0xAD});
  auto directory = read_chunk_directory(file, 3);
  ASSERT_TRUE(directory) << directory.error().message();
  EXPECT_EQ(*directory, (std::vector<TrackDir>{{916, 3}, {931, 0}, {943, 5}}));

  auto song = Hmp::parse(file);
  ASSERT_TRUE(song) << song.error().message();
  EXPECT_EQ(song->bpm, 0u);
  ASSERT_EQ(song->tracks.size(), 3u);
  EXPECT_EQ(song->tracks[0].events.size(), 2u);
  EXPECT_TRUE(song->tracks[1].events.empty());
  EXPECT_EQ(song->tracks[2].events.size(), 4u);

  // A header claiming fewer chunks reads only those.
  auto first_only = Hmp::parse(hmp_song({{0x80, 0xC0, 0x01}, {0x05}}, 120, 1));
  ASSERT_TRUE(first_only) << first_only.error().message();
  EXPECT_EQ(first_only->tracks.size(), 1u);
  auto none = Hmp::parse(hmp_song({}, 120, 0));
  ASSERT_TRUE(none) << none.error().message();
  EXPECT_TRUE(none->tracks.empty());
}

TEST(HmpParse, FileErrors) {
  ByteVec smf_bytes(904, 0);
  const std::uint8_t smf_start[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  std::copy(std::begin(smf_start), std::end(smf_start), smf_bytes.begin());
  ByteVec other_version = test::hmp_header(0, 120);
  other_version[13] = '4';

  ByteVec short_chunk = test::hmp_header(1, 120);
  test::append_chunk(short_chunk, {}, 11);
  ByteVec long_chunk = test::hmp_header(1, 120);
  test::append_chunk(long_chunk, {0x80, 0xC0}, 15);

  struct Case {
    const char* name;
    ByteVec bytes;
    std::string message;
  };
  const Case cases[] = {
      {"shorter than the header", ByteVec(903, 0), "input ended before 904 bytes were available (got 903)"},
      {"a MIDI file", smf_bytes, "HMP signature mismatch: expected HMIMIDIP, got [77, 84, 104, 100, 0, 0, 0, 6]"},
      {"another version", other_version,
       "HMP version marker is [48, 49, 51, 49, 57, 52], only 013195 is supported"},
      {"second chunk header missing", hmp_song({{0x80, 0xC0, 0x01}}, 120, 2),
       "offset 0x397 (hmp subtrack chunk header) is outside the 919-byte input"},
      {"a false count of 2^32 - 1 chunks", hmp_song({{0x80, 0xC0, 0x01}}, 120, 0xFFFFFFFF),
       "offset 0x397 (hmp subtrack chunk header) is outside the 919-byte input"},
      {"chunk size 11", short_chunk, "offset 0x38c (hmp subtrack chunk size) is outside the 916-byte input"},
      {"chunk past the end", long_chunk, "offset 0x394 (hmp subtrack payload) is outside the 918-byte input"},
  };
  for (const auto& c : cases) {
    auto result = Hmp::parse(c.bytes);
    ASSERT_FALSE(result) << c.name;
    EXPECT_EQ(result.error().message(), c.message) << c.name;
    auto streamed = Hmp::convert_to_smf(c.bytes);
    ASSERT_FALSE(streamed) << c.name;
    EXPECT_EQ(streamed.error().message(), c.message) << c.name;
  }
}

TEST(HmpParse, TrackErrorsCountFromTheTracksEventData) {
  const ByteVec good = {0x80, 0xC0, 0x01};
  struct Case {
    const char* name;
    ByteVec events;  // of track 1, after a good track 0
    std::string message;
  };
  const Case cases[] = {
      {"unterminated delta", {0x80, 0xC0, 0x01, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x01},
       "HMP track 1 delta-time at offset 0x3 did not terminate within 4 bytes"},
      {"delta cut off", {0x80, 0xC0, 0x01, 0x05}, "input ended before 5 bytes were available (got 4)"},
      {"data ends after a delta", {0x80, 0xC0, 0x01, 0x80}, "input ended before 5 bytes were available (got 4)"},
      {"first event without a status", {0x80, 0x3C, 0x40}, "HMP track 1 has unknown status byte 0x3c at offset 0x1"},
      {"system status after running status", {0x80, 0x90, 0x3C, 0x40, 0x80, 0x3C, 0x00, 0x80, 0xF3, 0x01},
       "HMP track 1 has unknown status byte 0xf3 at offset 0x8"},
      {"real-time status", {0x80, 0xF8}, "HMP track 1 has unknown status byte 0xf8 at offset 0x1"},
      {"second data byte missing", {0x80, 0x90, 0x3C}, "input ended before 4 bytes were available (got 3)"},
      {"running-status data byte missing", {0x80, 0x90, 0x3C, 0x40, 0x80, 0x3C},
       "input ended before 7 bytes were available (got 6)"},
      {"meta kind missing", {0x80, 0xFF}, "input ended before 3 bytes were available (got 2)"},
      {"length byte missing", {0x80, 0xF0, 0x81}, "input ended before 4 bytes were available (got 3)"},
      {"SysEx body past the end", {0x80, 0xF0, 0x05, 0x01, 0x02}, "input ended before 8 bytes were available (got 5)"},
      {"meta body past the end", {0x80, 0xFF, 0x01, 0x81, 0x00, 'a'},
       "input ended before 133 bytes were available (got 6)"},
      {"length longer than four bytes", {0x80, 0xF0, 0x81, 0x81, 0x81, 0x81, 0x00},
       "input ended before 7 bytes were available (got 7)"},
  };
  for (const auto& c : cases) {
    const ByteVec file = hmp_song({good, c.events});
    auto result = Hmp::parse(file);
    ASSERT_FALSE(result) << c.name;
    EXPECT_EQ(result.error().message(), c.message) << c.name;
    auto streamed = Hmp::convert_to_smf(file);
    ASSERT_FALSE(streamed) << c.name;
    EXPECT_EQ(streamed.error().message(), c.message) << c.name;
  }
}

}  // namespace
}  // namespace zarv::music
