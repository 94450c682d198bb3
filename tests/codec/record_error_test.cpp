#include <gtest/gtest.h>

#include "codec/record_error.hpp"

namespace zarv::codec {
namespace {

// The banners and bold markers spelled out independently of the renderer.
const std::string kTop =
    "\n \xE2\x95\xBA"
    "\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x94\x85 Backtrace \xE2\x94\x85"
    "\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x94\x81\xE2\x94\x81"
    "\xE2\x95\xB8\n\n";

std::string bottom() {
  std::string s = "\n \xE2\x95\xBA";
  for (int i = 0; i < 53; ++i) s += "\xE2\x94\x81";
  return s + "\xE2\x95\xB8\n\n";
}

const std::string B = "\x1b[1m";
const std::string U = "\x1b[22m";

TEST(RecordErrorText, RootCausesWithoutFrames) {
  struct Case {
    RecordError error;
    std::string text;
  };
  const Case cases[] = {
      {RecordError::end_of_input(), "failed to fill whole buffer"},
      {RecordError::assertion("bad section size", 0x2a), "bad section size at 0x2a"},
      {RecordError::bad_magic(0, "4660"), "bad magic at 0x0: 4660"},
      {RecordError::no_variants(0x10), "no variants matched at 0x10"},
      {RecordError::no_variants(0x10, {{"Short", RecordError::end_of_input()},
                                       {"Long", RecordError::assertion("too long", 0x12)}}),
       "no variants matched at 0x10:\n  Short: failed to fill whole buffer\n  Long: too long at 0x12"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error.message(), c.text);
}

TEST(RecordErrorText, OneFrameWithLocation) {
  auto e = RecordError::end_of_input().in_field("dir_flags", "Creature", SourceLocation{"src/dungeon/x.hpp", 12});
  EXPECT_EQ(e.message(), kTop + " 0: " + B + B + "Error: failed to fill whole buffer" + U + "\n" + "    " + "       " +
                             B + "While parsing field 'dir_flags' in Creature" + U + U + "\n" +
                             "     at src/dungeon/x.hpp:12\n" + bottom());
}

TEST(RecordErrorText, FramesAreNumberedFromTheInnermost) {
  auto e = RecordError::end_of_input()
               .in_field("cls1", "GraphicFileEntry", SourceLocation{"src/graphics/ent1.hpp", 30})
               .in_field("entries", "Ent1Raw", SourceLocation{"src/graphics/ent1.hpp", 40})
               .with_frame("reading the index");
  EXPECT_EQ(e.message(), kTop + " 0: " + B + B + "Error: failed to fill whole buffer" + U + "\n" + "           " + B +
                             "While parsing field 'cls1' in GraphicFileEntry" + U + U + "\n" +
                             "     at src/graphics/ent1.hpp:30\n" + " 1: " + B +
                             "While parsing field 'entries' in Ent1Raw" + U + "\n" +
                             "     at src/graphics/ent1.hpp:40\n" + " 2: " + B + "reading the index" + U + "\n" +
                             bottom());
}

TEST(RecordErrorText, ListedAlternativesUseTheDottedPad) {
  auto e = RecordError::no_variants(4, {{"A", RecordError::end_of_input()}}).with_frame("While parsing field 'x' in R");
  EXPECT_EQ(e.message(), kTop + " 0: " + B + B + "Error: no variants matched at 0x4:\n  A: failed to fill whole buffer" +
                             U + "\n" + "    ..." + B + "While parsing field 'x' in R" + U + U + "\n" + bottom());
}

}  // namespace
}  // namespace zarv::codec
