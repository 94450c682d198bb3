#include <gtest/gtest.h>

#include <vector>

#include "convert/detect_dungeon.hpp"

namespace zarv::convert {
namespace {

using codec::ByteOrder;

// A 44-byte header followed by `extra` zero bytes. Values are given as the
// two bytes of each 16-bit field in file order.
struct HeaderBytes {
  std::vector<std::uint8_t> b = std::vector<std::uint8_t>(44, 0);
  HeaderBytes& at(std::size_t offset, std::uint8_t value) {
    b[offset] = value;
    return *this;
  }
  std::vector<std::uint8_t> with_tail(std::size_t extra) const {
    auto out = b;
    out.resize(out.size() + extra, 0);
    return out;
  }
};

TEST(DetectDungeon, PicksTheFirstPlausibleOrderWhoseSectionsFit) {
  // n_maps = 1 either way; map_data_size 0x0100 little / 0x0001 big.
  auto both = HeaderBytes{}.at(4, 1).at(3, 0x01).with_tail(1);
  // Little-endian needs 44 + 256 bytes: only big-endian (44 + 1) fits.
  EXPECT_EQ(detect_dungeon(both).value(), ByteOrder::Big);
  // With room for both, little-endian wins.
  EXPECT_EQ(detect_dungeon(HeaderBytes{}.at(4, 1).at(3, 0x01).with_tail(256)).value(), ByteOrder::Little);
  EXPECT_EQ(detect_dungeon(HeaderBytes{}.at(4, 1).with_tail(0)).value(), ByteOrder::Little);
}

TEST(DetectDungeon, WordSectionsCountTwoBytesEach) {
  // text_data_size (offset 6) = 3 words, obj_list_size (offset 10) = 2 words,
  // little-endian: needs 44 + 2 * 5 bytes.
  auto header = HeaderBytes{}.at(4, 1).at(6, 3).at(10, 2);
  EXPECT_FALSE(detect_dungeon(header.with_tail(9)));
  EXPECT_EQ(detect_dungeon(header.with_tail(10)).value(), ByteOrder::Little);
}

TEST(DetectDungeon, RejectsImplausibleHeadersInBothOrders) {
  const std::string message = "unrecognized dungeon.dat: no byte order produced a plausible header";
  const std::vector<std::vector<std::uint8_t>> inputs = {
      {},
      std::vector<std::uint8_t>(43, 0),
      HeaderBytes{}.at(4, 129).with_tail(0),
      HeaderBytes{}.at(4, 0).with_tail(100),
      // Record counts 0x2711 (10001) in either order.
      HeaderBytes{}.at(4, 1).at(12, 0x11).at(13, 0x27).at(14, 0x27).at(15, 0x11).with_tail(0),
  };
  for (const auto& input : inputs) {
    auto result = detect_dungeon(input);
    ASSERT_FALSE(result) << input.size();
    EXPECT_EQ(result.error().message(), message);
  }
}

}  // namespace
}  // namespace zarv::convert
