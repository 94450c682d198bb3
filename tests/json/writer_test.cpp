#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "codec/internal_fault.hpp"
#include "json/writer.hpp"

namespace zarv::json {
namespace {

template <class F>
std::string written(F&& build) {
  codec::ByteBuffer out;
  Writer w(out);
  build(w);
  return std::string(out.text());
}

TEST(JsonWriter, NestsWithTwoSpacesOneItemPerLineAndNoTrailingNewline) {
  const std::string text = written([](Writer& w) {
    w.begin_object();
    w.key("a");
    w.uint_value(1);
    w.key("b");
    w.begin_array();
    w.int_value(-2);
    w.bool_value(true);
    w.null_value();
    w.begin_object();
    w.end_object();
    w.begin_array();
    w.end_array();
    w.bool_value(false);
    w.end_array();
    w.key("c");
    w.begin_object();
    w.key("d");
    w.string_value("x");
    w.end_object();
    w.end_object();
  });
  EXPECT_EQ(text,
            "{\n"
            "  \"a\": 1,\n"
            "  \"b\": [\n"
            "    -2,\n"
            "    true,\n"
            "    null,\n"
            "    {},\n"
            "    [],\n"
            "    false\n"
            "  ],\n"
            "  \"c\": {\n"
            "    \"d\": \"x\"\n"
            "  }\n"
            "}");
}

TEST(JsonWriter, TopLevelValuesAndEmptyContainers) {
  EXPECT_EQ(written([](Writer& w) { w.begin_object(); w.end_object(); }), "{}");
  EXPECT_EQ(written([](Writer& w) { w.begin_array(); w.end_array(); }), "[]");
  EXPECT_EQ(written([](Writer& w) { w.uint_value(std::numeric_limits<std::uint64_t>::max()); }),
            "18446744073709551615");
  EXPECT_EQ(written([](Writer& w) { w.int_value(std::numeric_limits<std::int64_t>::min()); }),
            "-9223372036854775808");
  EXPECT_EQ(written([](Writer& w) { w.string_value(""); }), "\"\"");
}

TEST(JsonWriter, EscapesOnlyQuoteBackslashAndControlBytes) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"plain", "\"plain\""},
      {"\"\\", "\"\\\"\\\\\""},
      {"\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
      {std::string("\x00\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
      {"\x0b\x1b", "\"\\u000b\\u001b\""},
      // Slash, DEL and non-ASCII text stay raw.
      {"a/b\x7f", "\"a/b\x7f\""},
      {"caf\xc3\xa9 \xe2\x82\xac", "\"caf\xc3\xa9 \xe2\x82\xac\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(written([&](Writer& w) { w.string_value(c.in); }), c.out);
  }
  EXPECT_EQ(written([](Writer& w) {
              w.begin_object();
              w.key("a\"b");
              w.uint_value(0);
              w.end_object();
            }),
            "{\n  \"a\\\"b\": 0\n}");
}

// The bulk path must produce exactly what element-by-element calls produce.
template <class T>
void expect_bulk_matches_elementwise(const std::vector<T>& values) {
  auto shape = [&](Writer& w, bool bulk) {
    w.begin_object();
    w.key("outer");
    w.begin_array();
    w.begin_object();
    w.key("values");
    if (bulk) {
      w.integer_array(std::span<const T>(values));
    } else {
      w.begin_array();
      for (T v : values) {
        if constexpr (std::is_signed_v<T>) {
          w.int_value(v);
        } else {
          w.uint_value(v);
        }
      }
      w.end_array();
    }
    w.key("after");
    w.uint_value(7);
    w.end_object();
    w.end_array();
    w.end_object();
  };
  EXPECT_EQ(written([&](Writer& w) { shape(w, true); }), written([&](Writer& w) { shape(w, false); }));
}

TEST(JsonWriter, IntegerArraysMatchElementwiseOutput) {
  expect_bulk_matches_elementwise<std::uint8_t>({});
  expect_bulk_matches_elementwise<std::uint8_t>({0, 9, 10, 99, 100, 255});
  expect_bulk_matches_elementwise<std::int16_t>({-32768, -1, 0, 32767});
  expect_bulk_matches_elementwise<std::uint64_t>({std::numeric_limits<std::uint64_t>::max(), 0});
  expect_bulk_matches_elementwise<std::int64_t>({std::numeric_limits<std::int64_t>::min()});
  // Longer than one internal block.
  std::vector<std::uint32_t> many(10000);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<std::uint32_t>(i * 2654435761u);
  expect_bulk_matches_elementwise(many);
}

TEST(JsonWriter, IntegerArrayAtTopLevel) {
  const std::vector<std::uint16_t> words{1, 65535};
  EXPECT_EQ(written([&](Writer& w) { w.uint_array(std::span<const std::uint16_t>(words)); }), "[\n  1,\n  65535\n]");
  EXPECT_EQ(written([](Writer& w) { w.uint_array(std::span<const std::uint16_t>()); }), "[]");
}

TEST(JsonWriter, Base64ValueIsAQuotedString) {
  const std::uint8_t abc[] = {'A', 'B', 'C', 'D'};
  EXPECT_EQ(written([&](Writer& w) {
              w.begin_array();
              w.base64_value(abc);
              w.base64_value({});
              w.end_array();
            }),
            "[\n  \"QUJDRA==\",\n  \"\"\n]");
}

TEST(JsonWriter, MisuseIsAnInternalFault) {
  EXPECT_THROW(written([](Writer& w) { w.key("a"); }), InternalFault);
  EXPECT_THROW(written([](Writer& w) {
                 w.begin_object();
                 w.uint_value(1);
               }),
               InternalFault);
  EXPECT_THROW(written([](Writer& w) {
                 w.begin_object();
                 w.end_array();
               }),
               InternalFault);
  EXPECT_THROW(written([](Writer& w) {
                 w.begin_object();
                 w.key("a");
                 w.end_object();
               }),
               InternalFault);
  EXPECT_THROW(written([](Writer& w) { w.end_object(); }), InternalFault);
}

}  // namespace
}  // namespace zarv::json
