#include <gtest/gtest.h>

#include <set>
#include <variant>

#include "music/detect.hpp"
#include "music/hmp/hmp.hpp"
#include "music/independent_reader.hpp"
#include "samples/music_samples.hpp"

namespace zarv::music {
namespace {

// The generator's songs, written by its own independent byte writer, read
// back here: the demo song with every event kind, and a large song like the
// one the benchmark converts.
TEST(GeneratedSongs, ParseConvertAndLoadInTheReader) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t tracks;
  };
  const Case cases[] = {
      {"demo-song", samples::hmp_demo_song(), 4},
      {"large-song", samples::hmp_large_song(64 * 1024), 16},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(detect(c.bytes), Format::Hmp);
    auto song = Hmp::parse(c.bytes);
    ASSERT_TRUE(song) << c.name << ": " << song.error().message();
    EXPECT_EQ(song->tracks.size(), c.tracks);
    const codec::ByteBuffer smf = song->to_smf();
    EXPECT_EQ(detect(smf.bytes()), Format::Smf);
    auto streamed = Hmp::convert_to_smf(c.bytes);
    ASSERT_TRUE(streamed) << c.name << ": " << streamed.error().message();
    EXPECT_EQ(*streamed, smf) << c.name;
    test::keep_for_independent_reader(c.name, *song, smf.bytes());
  }
}

TEST(GeneratedSongs, DemoSongHoldsEveryKindOfEvent) {
  auto song = Hmp::parse(samples::hmp_demo_song());
  ASSERT_TRUE(song) << song.error().message();
  EXPECT_EQ(song->bpm, 132u);
  std::set<std::size_t> kinds;
  for (const auto& track : song->tracks)
    for (const auto& event : track.events) kinds.insert(event.index());
  // Every kind but polyphonic pressure and the SysEx escape.
  EXPECT_EQ(kinds.size(), std::variant_size_v<hmp::Event> - 2);
}

}  // namespace
}  // namespace zarv::music
