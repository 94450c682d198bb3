#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ovn/code.hpp"
#include "samples/bytes.hpp"
#include "samples/ovn_samples.hpp"

namespace zarv::ovn {
namespace {

using Raw = std::vector<std::uint8_t>;

// A compressed payload whose table entry i holds the word i (so an entry
// decodes to its own number), with the given word count and stream.
Raw compressed(std::uint32_t n_words, const Raw& stream) {
  samples::Bytes b(samples::Order::Big);
  b.text("R#R#").u32be(n_words);
  for (std::uint16_t i = 0; i < kCodeTableEntries; ++i) b.u16be(i);
  b.raw(stream);
  return b.take();
}

Raw bytes_of(const codec::ByteBuffer& buffer) { return {buffer.begin(), buffer.end()}; }

TEST(NibbleStream, DecodesTheThreeCodeLengths) {
  struct Case {
    std::string name;
    std::uint32_t n_words;
    Raw stream;
    Raw code;
  };
  const Case cases[] = {
      // 0 5 | F 1 2 3 4 | then ignored nibbles
      {"short code then literal", 2, {0x05, 0xF1, 0x23, 0x4F, 0x00}, {0x00, 0x05, 0x12, 0x34}},
      // 8 0 0 -> entry 128 | E F F -> entry 1919
      {"long codes at the table's ends", 2, {0x80, 0x0E, 0xFF}, {0x00, 0x80, 0x07, 0x7F}},
      {"largest short code", 1, {0x7F}, {0x00, 0x7F}},
      // a literal starting on the low nibble, then a long code
      {"odd alignment", 3, {0x01, 0xFA, 0xBC, 0xD8, 0x12}, {0x00, 0x01, 0xAB, 0xCD, 0x00, 0x92}},
      {"no words", 0, {}, {}},
  };
  for (const auto& c : cases) {
    auto code = decompress_nibble_stream(compressed(c.n_words, c.stream));
    ASSERT_TRUE(code) << c.name << ": " << code.error().message();
    EXPECT_EQ(bytes_of(*code), c.code) << c.name;
  }
}

TEST(NibbleStream, TableEntriesKeepTheirByteOrder) {
  Raw payload = compressed(1, {0x03});
  payload[8 + 2 * 3] = 0xAB;
  payload[8 + 2 * 3 + 1] = 0xCD;
  EXPECT_EQ(bytes_of(*decompress_nibble_stream(payload)), (Raw{0xAB, 0xCD}));
}

TEST(NibbleStream, Errors) {
  Raw no_magic = compressed(0, {});
  no_magic[3] = '!';
  Raw one_short = compressed(0, {});
  one_short.pop_back();
  struct Case {
    std::string name;
    Raw payload;
    std::string message;
  };
  const Case cases[] = {
      {"one byte short of the table", one_short, "hunk payload too short: need 3848 bytes, have 3847"},
      {"no magic", no_magic, "bad magic: not an OVN structure"},
      {"count beyond the stream", compressed(3, {0x00, 0x00}), "nibble stream ended early"},
      {"count far beyond the stream", compressed(0xFFFFFFFF, {0x00}), "nibble stream ended early"},
      {"stops inside a literal", compressed(1, {0xF1, 0x23}), "nibble stream ended early"},
      {"stops inside a long code", compressed(2, {0x00, 0x80}), "nibble stream ended early"},
  };
  for (const auto& c : cases) {
    auto code = decompress_nibble_stream(c.payload);
    ASSERT_FALSE(code) << c.name;
    EXPECT_EQ(code.error().message(), c.message) << c.name;
  }
}

// Round trips through an independent compressor, at every length around
// the decoder's switch from its unchecked window to checked reads, and on a
// code large enough for literals.
TEST(NibbleStream, DecodesWhatTheCompressorWrites) {
  std::vector<Raw> codes;
  for (std::size_t words = 0; words <= 24; ++words) codes.push_back(samples::ovn_sample_code(words, 7 + words));
  codes.push_back(samples::ovn_sample_code(20000));
  for (const auto& code : codes) {
    const Raw payload = samples::compress_ovn_code(code);
    auto decoded = Code::decompress(payload, code.size());
    ASSERT_TRUE(decoded) << code.size() << ": " << decoded.error().message();
    EXPECT_EQ(bytes_of(*decoded), code) << code.size();
  }
}

TEST(CodeDecompress, StoredOrCompressedAndExactlyTheExpectedSize) {
  struct Case {
    std::string name;
    Raw payload;
    std::size_t expected_len;
    Raw code;             // when it succeeds
    std::string message;  // when it fails
  };
  const Case cases[] = {
      {"empty, none expected", {}, 0, {}, ""},
      {"empty, some expected", {}, 5, {}, "decompressed size mismatch: expected 5, got 0"},
      {"three bytes are stored code", {'R', '#', 'R'}, 3, {'R', '#', 'R'}, ""},
      {"stored code", {1, 2, 3, 4, 5}, 5, {1, 2, 3, 4, 5}, ""},
      {"stored code of another size", {1, 2, 3, 4, 5}, 4, {}, "decompressed size mismatch: expected 4, got 5"},
      {"compressed", compressed(1, {0x09}), 2, {0x00, 0x09}, ""},
      {"compressed, other size", compressed(2, {0x09, 0x09}), 3, {}, "decompressed size mismatch: expected 3, got 4"},
      {"magic but too short", {'R', '#', 'R', '#', 0}, 5, {}, "hunk payload too short: need 3848 bytes, have 5"},
      {"stream error comes first", compressed(2, {0xF0}), 3, {}, "nibble stream ended early"},
  };
  for (const auto& c : cases) {
    auto code = Code::decompress(c.payload, c.expected_len);
    if (c.message.empty()) {
      ASSERT_TRUE(code) << c.name << ": " << code.error().message();
      EXPECT_EQ(bytes_of(*code), c.code) << c.name;
    } else {
      ASSERT_FALSE(code) << c.name;
      EXPECT_EQ(code.error().message(), c.message) << c.name;
    }
  }
}

}  // namespace
}  // namespace zarv::ovn
