#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <optional>
#include <string>
#include <vector>

#include "codec/record.hpp"
#include "json/base64.hpp"
#include "json/record_json.hpp"

namespace zarv::json::test_records {

struct Inner {
  std::uint8_t a = 0;
  std::int16_t b = 0;
  friend bool operator==(const Inner&, const Inner&) = default;
};
ZARV_RECORD(Inner, a, b)

struct Outer {
  std::string format;
  codec::ByteOrder byte_order = codec::ByteOrder::Little;
  Inner inner;
  std::array<std::uint8_t, 4> bytes{};
  std::vector<std::uint16_t> words;
  std::vector<Inner> items;
  std::optional<std::uint32_t> extra;
  bool flag = false;
  std::int64_t delta = 0;
  friend bool operator==(const Outer&, const Outer&) = default;
};
ZARV_RECORD(Outer, format, byte_order, inner, bytes, words, items, extra, flag, delta)

// A type with a JSON form of its own: bytes as a Base64 string.
struct Blob {
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const Blob&, const Blob&) = default;
};

void json_write(Writer& w, const Blob& blob) { w.base64_value(blob.bytes); }

bool json_read(Reader& r, Blob& blob) {
  std::string_view text;
  if (!r.read_string_view(text, "Base64 text")) return false;
  auto bytes = base64_decode(text);
  if (!bytes) return r.fail("base64 decode: " + bytes.error().message());
  blob.bytes.assign(bytes->begin(), bytes->end());
  return true;
}

struct WithBlob {
  Blob seed;
  std::vector<Blob> more;
  friend bool operator==(const WithBlob&, const WithBlob&) = default;
};
ZARV_RECORD(WithBlob, seed, more)

}  // namespace zarv::json::test_records

namespace zarv::json {
namespace {

using test_records::Blob;
using test_records::Inner;
using test_records::Outer;
using test_records::WithBlob;

Outer sample() {
  Outer o;
  o.format = "zarv-test";
  o.byte_order = codec::ByteOrder::Big;
  o.inner = {255, -32768};
  o.bytes = {1, 2, 3, 4};
  o.words = {0, 65535};
  o.items = {{1, 2}, {3, -4}};
  o.extra = 7;
  o.flag = true;
  o.delta = -9;
  return o;
}

constexpr std::string_view sample_text =
    "{\n"
    "  \"format\": \"zarv-test\",\n"
    "  \"byte_order\": \"Big\",\n"
    "  \"inner\": {\n"
    "    \"a\": 255,\n"
    "    \"b\": -32768\n"
    "  },\n"
    "  \"bytes\": [\n"
    "    1,\n"
    "    2,\n"
    "    3,\n"
    "    4\n"
    "  ],\n"
    "  \"words\": [\n"
    "    0,\n"
    "    65535\n"
    "  ],\n"
    "  \"items\": [\n"
    "    {\n"
    "      \"a\": 1,\n"
    "      \"b\": 2\n"
    "    },\n"
    "    {\n"
    "      \"a\": 3,\n"
    "      \"b\": -4\n"
    "    }\n"
    "  ],\n"
    "  \"extra\": 7,\n"
    "  \"flag\": true,\n"
    "  \"delta\": -9\n"
    "}";

TEST(RecordJson, WritesMembersInDeclarationOrder) {
  EXPECT_EQ(to_pretty_json(sample()).text(), sample_text);
}

TEST(RecordJson, RoundTripsIncludingEmptyAndAbsentParts) {
  auto back = from_json<Outer>(sample_text);
  ASSERT_TRUE(back) << back.error().message();
  EXPECT_EQ(*back, sample());

  Outer sparse = sample();
  sparse.words.clear();
  sparse.items.clear();
  sparse.extra.reset();
  const auto text = to_pretty_json(sparse);
  EXPECT_NE(text.text().find("\"words\": [],\n  \"items\": [],\n  \"extra\": null,"), std::string_view::npos);
  auto again = from_json<Outer>(text.text());
  ASSERT_TRUE(again) << again.error().message();
  EXPECT_EQ(*again, sparse);
}

TEST(RecordJson, AcceptsAnyOrderUnknownMembersAndAbsentOptionals) {
  const std::string text = R"({
    "unknown_top": {"x": [1, {"y": null, "z": [true, "s\n"]}], "w": -1.5e3},
    "delta": -9, "flag": true,
    "items": [{"b": 2, "a": 1, "note": "ignored"}, {"a": 3, "b": -4, "more": [[[]]]}],
    "words": [0, 65535], "bytes": [1, 2, 3, 4],
    "inner": {"b": -32768, "a": 255, "c": {}},
    "byte_order": {"Big": null},
    "format": "zarv-test"
  })";
  auto value = from_json<Outer>(text);
  ASSERT_TRUE(value) << value.error().message();
  Outer expected = sample();
  expected.extra.reset();
  EXPECT_EQ(*value, expected);
}

struct ErrorCase {
  std::string name;
  std::string input;
  std::string message;
};

TEST(RecordJson, SchemaErrorsNameTheProblemAndPlace) {
  const ErrorCase cases[] = {
      {"empty object", "{}", "missing field `a` at line 1 column 2"},
      {"missing second", R"({"a": 1})", "missing field `b` at line 1 column 8"},
      {"trailing comma", R"({"a":1,})", "trailing comma at line 1 column 8"},
      {"duplicate", R"({"a":1,"a":2,"b":3})", "duplicate field `a` at line 1 column 10"},
      {"duplicate after unknown", R"({"b":1,"x":0,"b":2})", "duplicate field `b` at line 1 column 16"},
      {"u8 overflow", R"({"a":256,"b":0})", "invalid value: integer `256`, expected u8 at line 1 column 8"},
      {"u8 negative", R"({"a":-1,"b":0})", "invalid value: integer `-1`, expected u8 at line 1 column 7"},
      {"i16 underflow", R"({"a":1,"b":-32769})", "invalid value: integer `-32769`, expected i16 at line 1 column 17"},
      {"i16 overflow", R"({"a":1,"b":32768})", "invalid value: integer `32768`, expected i16 at line 1 column 16"},
      {"float", R"({"a":1.5})", "invalid type: floating point `1.5`, expected u8 at line 1 column 8"},
      {"integral float", R"({"a":1.0})", "invalid type: floating point `1.0`, expected u8 at line 1 column 8"},
      {"negative zero", R"({"a":-0})", "invalid type: floating point `-0.0`, expected u8 at line 1 column 7"},
      {"huge", R"({"a":18446744073709551616})",
       "invalid type: floating point `18446744073709552000.0`, expected u8 at line 1 column 25"},
      {"string", R"({"a":"x"})", "invalid type: string \"x\", expected u8 at line 1 column 8"},
      {"escaped string", R"({"a":"q\"\n"})", "invalid type: string \"q\\\"\\n\", expected u8 at line 1 column 12"},
      {"boolean", R"({"a":true})", "invalid type: boolean `true`, expected u8 at line 1 column 9"},
      {"null", R"({"a":null})", "invalid type: null, expected u8 at line 1 column 9"},
      {"sequence", R"({"a":[1]})", "invalid type: sequence, expected u8 at line 1 column 6"},
      {"map", R"({"a": {}})", "invalid type: map, expected u8 at line 1 column 7"},
      {"not a record", "3", "invalid type: integer `3`, expected struct Inner at line 1 column 1"},
      {"array as record", "[]", "invalid type: sequence, expected struct Inner at line 1 column 1"},
      {"bad syntax in skipped member", R"({"x": [1 2], "a": 1, "b": 2})", "expected `,` or `]` at line 1 column 10"},
      {"nesting in skipped member", R"({"x": )" + std::string(128, '[') + std::string(128, ']') + "}",
       "recursion limit exceeded at line 1 column 133"},
  };
  for (const ErrorCase& c : cases) {
    auto value = from_json<Inner>(c.input);
    ASSERT_FALSE(value) << c.name;
    EXPECT_EQ(value.error().message(), c.message) << c.name;
  }
}

TEST(RecordJson, ErrorsInNestedMembersAndContainers) {
  // Start from the valid document and break one member at a time.
  auto with = [](std::string_view from, std::string_view to) {
    std::string text(sample_text);
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  const ErrorCase cases[] = {
      {"unknown variant", with("\"Big\"", "\"little\""),
       "unknown variant `little`, expected `Little` or `Big` at line 3 column 24"},
      {"variant not a string", with("\"Big\"", "1"), "expected value at line 3 column 17"},
      {"short array", with("    3,\n    4\n", "    3\n"), "invalid length 3, expected an array of length 4 at line 12 column 3"},
      {"long array", with("    4\n", "    4,\n    5\n"), "trailing characters at line 13 column 5"},
      {"array comma", with("    4\n", "    4,\n"), "trailing comma at line 13 column 3"},
      {"array wrong type", with("\"bytes\": [", "\"bytes\": 7, \"x\": ["),
       "invalid type: integer `7`, expected an array of length 4 at line 8 column 12"},
      {"vector wrong type", with("\"words\": [\n    0,\n    65535\n  ]", "\"words\": \"w\""),
       "invalid type: string \"w\", expected a sequence at line 14 column 14"},
      {"u16 element", with("65535", "65536"), "invalid value: integer `65536`, expected u16 at line 16 column 9"},
      {"nested missing", with("\"a\": 3,\n      \"b\": -4\n", "\"a\": 3\n"), "missing field `b` at line 25 column 5"},
      {"nested record type", with("\"inner\": {", "\"inner\": 3, \"y\": {"),
       "invalid type: integer `3`, expected struct Inner at line 4 column 12"},
      {"string type", with("\"zarv-test\"", "3"), "invalid type: integer `3`, expected a string at line 2 column 13"},
      {"bool type", with("\"flag\": true", "\"flag\": 1"), "invalid type: integer `1`, expected a boolean at line 29 column 11"},
      {"optional type", with("\"extra\": 7", "\"extra\": 4294967296"),
       "invalid value: integer `4294967296`, expected u32 at line 28 column 21"},
      {"i64 overflow", with("-9\n", "9223372036854775808\n"),
       "invalid value: integer `9223372036854775808`, expected i64 at line 30 column 30"},
  };
  for (const ErrorCase& c : cases) {
    auto value = from_json<Outer>(c.input);
    ASSERT_FALSE(value) << c.name;
    EXPECT_EQ(value.error().message(), c.message) << c.name << "\n" << c.input;
  }
}

TEST(RecordJson, WidthLimitsOfEveryIntegerType) {
  EXPECT_EQ(*from_json<std::int8_t>("-128"), -128);
  EXPECT_EQ(from_json<std::int8_t>("128").error().description, "invalid value: integer `128`, expected i8");
  EXPECT_EQ(*from_json<std::uint32_t>("4294967295"), 4294967295u);
  EXPECT_EQ(from_json<std::int32_t>("-2147483649").error().description,
            "invalid value: integer `-2147483649`, expected i32");
  EXPECT_EQ(*from_json<std::uint64_t>("18446744073709551615"), 18446744073709551615ull);
  EXPECT_EQ(*from_json<std::int64_t>("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(from_json<std::uint64_t>("-1").error().description, "invalid value: integer `-1`, expected u64");
  EXPECT_EQ(from_json<std::int64_t>("-9223372036854775809").error().description,
            "invalid type: floating point `-9223372036854776000.0`, expected i64");
}

TEST(RecordJson, IntegerVectorsFallBackToFullChecksMidArray) {
  // The fast path hands over to the element-wise reader at the first
  // unusual element; values before it are kept, and its error is exact.
  auto ok = from_json<std::vector<std::int16_t>>("[ 1,-2 ,\n\t3 , -32768,32767 ]");
  ASSERT_TRUE(ok) << ok.error().message();
  EXPECT_EQ(*ok, (std::vector<std::int16_t>{1, -2, 3, -32768, 32767}));
  EXPECT_EQ(from_json<std::vector<std::uint8_t>>("[1, 2, 300]").error().message(),
            "invalid value: integer `300`, expected u8 at line 1 column 10");
  EXPECT_EQ(from_json<std::vector<std::uint8_t>>("[1, 2, 007]").error().message(), "invalid number at line 1 column 9");
  EXPECT_EQ(from_json<std::vector<std::uint64_t>>("[12345678901234567890, 1]").value(),
            (std::vector<std::uint64_t>{12345678901234567890ull, 1}));
}

// Values of every digit count, pretty and compact, at every alignment the
// word-at-a-time digit scan can meet.
template <class T>
void expect_integer_vector_round_trip(std::uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<T> values(3000);
  for (auto& v : values) {
    const unsigned bits = static_cast<unsigned>(rng() % (8 * sizeof(T))) + 1;
    v = static_cast<T>(rng() >> (64 - bits));
  }
  values.push_back(std::numeric_limits<T>::min());
  values.push_back(std::numeric_limits<T>::max());
  auto pretty = from_json<std::vector<T>>(to_pretty_json(values).text());
  ASSERT_TRUE(pretty) << pretty.error().message();
  EXPECT_EQ(*pretty, values);
  std::string compact = "[";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) compact += i % 3 == 0 ? ", " : ",";
    compact += std::to_string(values[i]);
  }
  compact += "]";
  for (std::size_t cut = 0; cut < 9; ++cut) {
    auto read = from_json<std::vector<T>>(std::string(cut, ' ') + compact);
    ASSERT_TRUE(read) << read.error().message();
    EXPECT_EQ(*read, values);
  }
}

TEST(RecordJson, IntegerVectorsRoundTripEveryWidth) {
  expect_integer_vector_round_trip<std::uint8_t>(1);
  expect_integer_vector_round_trip<std::int8_t>(2);
  expect_integer_vector_round_trip<std::uint16_t>(3);
  expect_integer_vector_round_trip<std::int16_t>(4);
  expect_integer_vector_round_trip<std::uint32_t>(5);
  expect_integer_vector_round_trip<std::int32_t>(6);
  expect_integer_vector_round_trip<std::uint64_t>(7);
  expect_integer_vector_round_trip<std::int64_t>(8);
}

TEST(RecordJson, CustomFormsAreFoundByArgumentDependentLookup) {
  WithBlob value{{{'A', 'B', 'C'}}, {{{}}, {{0xFF}}}};
  const auto text = to_pretty_json(value);
  EXPECT_EQ(text.text(), "{\n  \"seed\": \"QUJD\",\n  \"more\": [\n    \"\",\n    \"/w==\"\n  ]\n}");
  auto back = from_json<WithBlob>(text.text());
  ASSERT_TRUE(back) << back.error().message();
  EXPECT_EQ(*back, value);
  EXPECT_EQ(from_json<WithBlob>(R"({"seed": "QUJ", "more": []})").error().message(),
            "base64 decode: Invalid padding at line 1 column 14");
  EXPECT_EQ(from_json<WithBlob>(R"({"seed": 1})").error().message(),
            "invalid type: integer `1`, expected Base64 text at line 1 column 10");
}

}  // namespace
}  // namespace zarv::json
