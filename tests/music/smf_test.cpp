#include <gtest/gtest.h>

#include "music/hmp/smf.hpp"
#include "music/independent_reader.hpp"
#include "support/hmp_builder.hpp"

namespace zarv::music {
namespace {

using test::ByteVec;
using test::hmp_song;

ByteVec concat(std::initializer_list<ByteVec> parts) {
  ByteVec out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

ByteVec smf_header(std::uint8_t tracks) { return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, tracks, 0x00, 0x3C}; }

ByteVec mtrk(const ByteVec& data) {
  const auto n = static_cast<std::uint32_t>(data.size());
  return concat({{'M', 'T', 'r', 'k', static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                  static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)},
                 data});
}

const ByteVec kTempo120 = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
const ByteVec kEnd = {0x00, 0xFF, 0x2F, 0x00};

// Converts an HMP song, compares the file byte for byte and, when it is a
// file worth a second opinion, keeps it for the independent reader.
void expect_smf(const std::string& name, const ByteVec& hmp_file, const ByteVec& expected, bool keep = true,
                bool with_listing = true) {
  auto song = Hmp::parse(hmp_file);
  ASSERT_TRUE(song) << name << ": " << song.error().message();
  const codec::ByteBuffer smf = song->to_smf();
  EXPECT_EQ(ByteVec(smf.begin(), smf.end()), expected) << name;
  auto streamed = Hmp::convert_to_smf(hmp_file);  // one track at a time
  ASSERT_TRUE(streamed) << name << ": " << streamed.error().message();
  EXPECT_EQ(ByteVec(streamed->begin(), streamed->end()), expected) << name;
  if (keep) test::keep_for_independent_reader(name, *song, smf.bytes(), with_listing);
}

TEST(PushVlq, OneToFiveBytes) {
  struct Case {
    std::uint32_t value;
    ByteVec bytes;
  };
  const Case cases[] = {
      {0, {0x00}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {128, {0x81, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0x10000000, {0x81, 0x80, 0x80, 0x80, 0x00}},
      {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    codec::ByteBuffer out;
    out.push_back(0xAA);  // appends, keeping what is there
    smf::push_vlq(out, c.value);
    EXPECT_EQ(ByteVec(out.begin(), out.end()), concat({{0xAA}, c.bytes})) << c.value;
  }
}

TEST(SmfEncode, TempoOfTheFirstTrack) {
  struct Case {
    std::uint32_t bpm;
    ByteVec tempo;
  };
  const Case cases[] = {
      {120, {0x07, 0xA1, 0x20}},
      {0, {0x07, 0xA1, 0x20}},         // none given: 500,000 microseconds
      {90, {0x0A, 0x2C, 0x2A}},        // 666,666
      {4, {0xE4, 0xE1, 0xC0}},         // 15,000,000: the slowest that fits 24 bits
      {3, {0xFF, 0xFF, 0xFF}},         // slower ones are held at the slowest tempo
      {1, {0xFF, 0xFF, 0xFF}},
      {60'000'001, {0x00, 0x00, 0x00}},
  };
  for (const auto& c : cases) {
    const ByteVec track0 = concat({{0x00, 0xFF, 0x51, 0x03}, c.tempo, kEnd});
    expect_smf("tempo-bpm-" + std::to_string(c.bpm), hmp_song({{}}, c.bpm),
               concat({smf_header(1), mtrk(track0)}));
  }
}

TEST(SmfEncode, EmptySongs) {
  expect_smf("no-tracks", hmp_song({}), smf_header(0));
  // Empty chunks: the first track still opens with the tempo.
  expect_smf("empty-tracks", hmp_song({{}, {}}), concat({smf_header(2), mtrk(concat({kTempo120, kEnd})), mtrk(kEnd)}));
}

TEST(SmfEncode, DeltasCarriedOverDroppedEndsAndRunningStatusWrittenOut) {
  const ByteVec track0 = {
      0xE4, 0xFF, 0x2F, 0x00,  // delta 100, end of track: dropped
      0x9C, 0x90, 0x3C, 0x64,  // delta 28, note on: written at delta 128
      0x8A, 0x3C, 0x00,        // delta 10, running status
      0x80, 0xC1, 0x05,        // program change
      0x85, 0xF0, 0x02, 0x7E, 0xF7,  // delta 5, SysEx
      0x80, 0xFF, 0x01, 0x02, 'o', 'k',  // meta text
      0x83, 0xFF, 0x2F, 0x00,  // delta 3, end of track: its delta moves to the closing event
  };
  const ByteVec track1 = {
      0x80, 0xB2, 0x07, 0x64,  // control change
      0x90, 0x07, 0x50,        // delta 16, running status
      0x80, 0xF7, 0x01, 0x43,  // SysEx escape
  };
  const ByteVec smf0 = concat({kTempo120,
                               {0x81, 0x00, 0x90, 0x3C, 0x64},
                               {0x0A, 0x90, 0x3C, 0x00},
                               {0x00, 0xC1, 0x05},
                               {0x05, 0xF0, 0x02, 0x7E, 0xF7},
                               {0x00, 0xFF, 0x01, 0x02, 'o', 'k'},
                               {0x03, 0xFF, 0x2F, 0x00}});
  const ByteVec smf1 = concat({{0x00, 0xB2, 0x07, 0x64}, {0x10, 0xB2, 0x07, 0x50}, {0x00, 0xF7, 0x01, 0x43}, kEnd});
  expect_smf("two-tracks", hmp_song({track0, track1}), concat({smf_header(2), mtrk(smf0), mtrk(smf1)}));
}

TEST(SmfEncode, EndOfTrackWithDataIsCopied) {
  const ByteVec track0 = {0x80, 0xFF, 0x2F, 0x01, 0x07, 0x82, 0xC0, 0x01};
  const ByteVec smf0 = concat({kTempo120, {0x00, 0xFF, 0x2F, 0x01, 0x07}, {0x02, 0xC0, 0x01}, kEnd});
  // The reader shows an end of track without its data, so this file only
  // has to load there.
  expect_smf("end-of-track-with-data", hmp_song({track0}), concat({smf_header(1), mtrk(smf0)}), true, false);
}

TEST(SmfEncode, LongDeltasTakeFiveBytesAndSaturate) {
  // Each dropped end of track passes its delta on: sixteen of the largest
  // HMP delta add up to 2^32 - 16; a seventeenth holds the sum at 2^32 - 1.
  auto carried = [](int count) {
    ByteVec track;
    for (int i = 0; i < count; ++i) track.insert(track.end(), {0x7F, 0x7F, 0x7F, 0xFF, 0xFF, 0x2F, 0x00});
    track.insert(track.end(), {0x80, 0xC0, 0x01});
    return track;
  };
  expect_smf("five-byte-delta", hmp_song({carried(16)}),
             concat({smf_header(1), mtrk(concat({kTempo120, {0x8F, 0xFF, 0xFF, 0xFF, 0x70, 0xC0, 0x01}, kEnd}))}));
  expect_smf("saturated-delta", hmp_song({carried(17)}),
             concat({smf_header(1), mtrk(concat({kTempo120, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F, 0xC0, 0x01}, kEnd}))}),
             false);
}

TEST(SmfEncode, LongBodiesAndTrailingDeltas) {
  ByteVec track0 = {0x80, 0xFF, 0x7F, 0x81, 0x00};  // sequencer-specific meta, 128 bytes
  track0.insert(track0.end(), 128, 0x11);
  track0.insert(track0.end(), {0x7F, 0x7F, 0x81, 0xFF, 0x2F, 0x00});  // delta 0x4000 - 1 + 0x4000 = 32767
  ByteVec smf0 = concat({kTempo120, {0x00, 0xFF, 0x7F, 0x81, 0x00}});
  smf0.insert(smf0.end(), 128, 0x11);
  smf0.insert(smf0.end(), {0x81, 0xFF, 0x7F, 0xFF, 0x2F, 0x00});
  expect_smf("long-meta", hmp_song({track0}), concat({smf_header(1), mtrk(smf0)}));
}

TEST(SmfEncode, DataBytesWithBit7AreWrittenAsSevenBits) {
  // Kept with bit 7 in the song, but a data byte of 0x80 or more would read
  // as a status byte in the file and derail every reader.
  const ByteVec track0 = {0x80, 0x90, 0xBC, 0xC0, 0x80, 0xE0, 0xFF, 0x80};
  const ByteVec smf0 = concat({kTempo120, {0x00, 0x90, 0x3C, 0x40}, {0x00, 0xE0, 0x7F, 0x00}, kEnd});
  expect_smf("data-bit-7", hmp_song({track0}), concat({smf_header(1), mtrk(smf0)}));
}

}  // namespace
}  // namespace zarv::music
