#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "json/reader.hpp"
#include "json/record_json.hpp"

namespace zarv::json {
namespace {

struct Case {
  std::string input;
  std::string message;  // empty: accepted
};

// Reads any document, checking it without a schema (the way unknown members
// are read).
std::string skip_message(std::string_view text) {
  Reader r(text);
  if (r.skip_value() && r.finish()) return "";
  return r.error().message();
}

template <class T>
std::string typed_message(std::string_view text) {
  auto value = from_json<T>(text);
  return value ? "" : value.error().message();
}

TEST(JsonReaderSyntax, ReportsWhereTheReaderStopped) {
  const Case cases[] = {
      {"", "EOF while parsing a value at line 1 column 0"},
      {"   ", "EOF while parsing a value at line 1 column 3"},
      {"x", "expected value at line 1 column 1"},
      {"]", "expected value at line 1 column 1"},
      {"nul", "EOF while parsing a value at line 1 column 3"},
      {"nulx", "expected ident at line 1 column 4"},
      {"tru", "EOF while parsing a value at line 1 column 3"},
      {"fals3", "expected ident at line 1 column 5"},
      {"[", "EOF while parsing a list at line 1 column 1"},
      {"[1 2]", "expected `,` or `]` at line 1 column 4"},
      {"{", "EOF while parsing an object at line 1 column 1"},
      {"{1:2}", "key must be a string at line 1 column 2"},
      {"{,}", "key must be a string at line 1 column 2"},
      {"{\"a\" 1}", "expected `:` at line 1 column 6"},
      {"{\"a\"", "EOF while parsing an object at line 1 column 4"},
      {"{\"a\":", "EOF while parsing a value at line 1 column 5"},
      {"{\"a\":1 \"b\":2}", "expected `,` or `}` at line 1 column 8"},
      {"{\"a\":1", "EOF while parsing an object at line 1 column 6"},
      {"a", "expected value at line 1 column 1"},
      {"\"abc", "EOF while parsing a string at line 1 column 4"},
      {"\"a\\x\"", "invalid escape at line 1 column 4"},
      {"\"\\u12\"", "EOF while parsing a string at line 1 column 6"},
      {"\"\\u12x4\"", "invalid escape at line 1 column 6"},
      {"\"\\", "EOF while parsing a string at line 1 column 2"},
      {"\"a\tb\"", "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 3"},
      // The control character is consumed, so a raw line break ends on the next line.
      {"\"a\nb\"", "control character (\\u0000-\\u001F) found while parsing a string at line 2 column 0"},
      {"1 2", "trailing characters at line 1 column 3"},
      {"{} x", "trailing characters at line 1 column 4"},
      {"01", "invalid number at line 1 column 2"},
      {"1.x", "invalid number at line 1 column 3"},
      {"1ex", "invalid number at line 1 column 3"},
      {"-x", "invalid number at line 1 column 2"},
      {"[\n  1,\n  x\n]", "expected value at line 3 column 3"},
      {"{\r\n\t\"a\": [1,\n 2  ,\n3 4]}", "expected `,` or `]` at line 4 column 3"},
      // Accepted documents.
      {" {\"a\": [1, -2.5e-3, \"\\u00e9\\ud83d\\ude00\", true, false, null, {}, []]} ", ""},
      {"\"\\/\\b\\f\\n\\r\\t\\\"\\\\\"", ""},
      {"1e400", ""},
      {"-0", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(skip_message(c.input), c.message) << "input: " << c.input;
  }
}

// Values read against a type see a few faults differently from skipped ones
// (a trailing comma is named as such; a number's value must exist).
TEST(JsonReaderSyntax, TypedReadsNameTrailingCommasAndNumberFaults) {
  const Case cases[] = {
      {"[1,2,]", "trailing comma at line 1 column 6"},
      {"[1,2", "EOF while parsing a list at line 1 column 4"},
      {"[1,", "EOF while parsing a value at line 1 column 3"},
      {"[,1]", "expected value at line 1 column 2"},
      {"[1 2]", "expected `,` or `]` at line 1 column 4"},
      {"[-]", "invalid number at line 1 column 3"},
      {"[-", "EOF while parsing a value at line 1 column 2"},
      {"[1.", "EOF while parsing a value at line 1 column 3"},
      {"[1e", "EOF while parsing a value at line 1 column 3"},
      {"[1e400]", "number out of range at line 1 column 6"},
      {"[1e-400]", "invalid type: floating point `0.0`, expected u16 at line 1 column 7"},
      {"[1,2] ,", "trailing characters at line 1 column 7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(typed_message<std::vector<std::uint16_t>>(c.input), c.message) << "input: " << c.input;
  }
  EXPECT_EQ(skip_message("[1,]"), "expected value at line 1 column 4");
  EXPECT_EQ(skip_message("{\"a\":1,}"), "key must be a string at line 1 column 8");
  EXPECT_EQ(skip_message("[-]"), "invalid number at line 1 column 3");
  EXPECT_EQ(skip_message("[1."), "invalid number at line 1 column 3");
}

TEST(JsonReaderSyntax, EscapesAndSurrogatesDecode) {
  struct StringCase {
    std::string input;
    std::string value_or_message;
    bool ok;
  };
  const StringCase cases[] = {
      {"\"a\\\"b\\\\c\\/d\"", "a\"b\\c/d", true},
      {"\"\\b\\f\\n\\r\\t\"", "\b\f\n\r\t", true},
      {"\"\\u0041\\u00e9\\u20AC\"", "A\xc3\xa9\xe2\x82\xac", true},
      {"\"\\ud83d\\ude00\"", "\xf0\x9f\x98\x80", true},
      {"\"\\u0000\"", std::string(1, '\0'), true},
      {"\"caf\xc3\xa9\"", "caf\xc3\xa9", true},
      {"\"\\ude00\"", "lone leading surrogate in hex escape at line 1 column 7", false},
      {"\"\\ud83dx\"", "unexpected end of hex escape at line 1 column 8", false},
      {"\"\\ud83d\\n\"", "unexpected end of hex escape at line 1 column 9", false},
      {"\"\\ud83d\\u0041\"", "lone leading surrogate in hex escape at line 1 column 13", false},
      {"\"\\ud83d", "EOF while parsing a string at line 1 column 7", false},
      {"\"\\ud83d\\u12", "EOF while parsing a string at line 1 column 11", false},
      // Bytes that are not UTF-8 (a host may pass anything).
      {"\"a\xff\"", "invalid unicode code point at line 1 column 4", false},
      {"\"\xed\xa0\x80\"", "invalid unicode code point at line 1 column 5", false},
      {"\"\xc3\\u0041\"", "invalid unicode code point at line 1 column 9", false},
  };
  for (const StringCase& c : cases) {
    auto value = from_json<std::string>(c.input);
    if (c.ok) {
      ASSERT_TRUE(value) << c.input << ": " << value.error().message();
      EXPECT_EQ(*value, c.value_or_message);
    } else {
      ASSERT_FALSE(value) << c.input;
      EXPECT_EQ(value.error().message(), c.value_or_message);
    }
  }
  // Skipped strings check the escape syntax but not what it encodes.
  EXPECT_EQ(skip_message("\"\\ude00\""), "");
}

TEST(JsonReaderNesting, RefusesTheHundredTwentyEighthLevel) {
  const std::string ok = std::string(127, '[') + std::string(127, ']');
  EXPECT_EQ(skip_message(ok), "");
  const std::string deep = std::string(128, '[') + std::string(128, ']');
  EXPECT_EQ(skip_message(deep), "recursion limit exceeded at line 1 column 128");
  // Objects count toward the same limit.
  std::string nested_objects;
  for (int i = 0; i < 128; ++i) nested_objects += "{\"a\":";
  EXPECT_EQ(skip_message(nested_objects), "recursion limit exceeded at line 1 column 636");
}

TEST(JsonReaderPull, DrivesObjectsAndArraysByHand) {
  Reader r(R"({"name": "x", "list": [1, 2, 3], "skip": {"deep": [null]}, "flag": true})");
  ASSERT_TRUE(r.begin_object("a thing"));
  std::string_view key;
  std::string name;
  std::vector<std::uint32_t> list;
  bool flag = false;
  while (r.next_key(key)) {
    if (key == "name") {
      ASSERT_TRUE(r.read_string(name));
    } else if (key == "list") {
      ASSERT_TRUE(r.begin_array("a list"));
      while (r.next_element()) {
        std::uint32_t v;
        ASSERT_TRUE(r.read_integer(v));
        list.push_back(v);
      }
      ASSERT_FALSE(r.failed());
    } else if (key == "flag") {
      ASSERT_TRUE(r.read_bool(flag));
    } else {
      ASSERT_TRUE(r.skip_value());
    }
  }
  ASSERT_FALSE(r.failed());
  EXPECT_TRUE(r.finish());
  EXPECT_EQ(name, "x");
  EXPECT_EQ(list, (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_TRUE(flag);
}

TEST(JsonReaderPull, FirstFailureSticks) {
  Reader r("[true, 1]");
  ASSERT_TRUE(r.begin_array("a sequence"));
  ASSERT_TRUE(r.next_element());
  std::uint8_t v;
  EXPECT_FALSE(r.read_integer(v));
  EXPECT_FALSE(r.next_element());
  EXPECT_FALSE(r.finish());
  EXPECT_EQ(r.error().message(), "invalid type: boolean `true`, expected u8 at line 1 column 5");
}

}  // namespace
}  // namespace zarv::json
