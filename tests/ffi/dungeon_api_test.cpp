#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "samples/dungeon_samples.hpp"
#include "zarv/zarv.h"

namespace {

const uint8_t* bytes_of(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

TEST(DungeonApi, ToJsonAndBackGivesTheSameBytes) {
  for (auto order : {zarv::samples::Order::Little, zarv::samples::Order::Big}) {
    const auto file = zarv::samples::build_dungeon(zarv::samples::showcase_dungeon(order));
    ZarvBuffer json = zarv_dungeon_to_json(file.data(), file.size());
    ASSERT_EQ(json.error, nullptr) << json.error;
    ZarvBuffer back = zarv_dungeon_from_json(json.data, json.len);
    ASSERT_EQ(back.error, nullptr) << back.error;
    EXPECT_EQ(std::vector<uint8_t>(back.data, back.data + back.len), file);
    zarv_buffer_free(json);
    zarv_buffer_free(back);
  }
}

TEST(DungeonApi, Errors) {
  struct Case {
    ZarvBuffer (*convert)(const uint8_t*, size_t);
    std::string input;
    bool null_input;
    std::string message;
  };
  const Case cases[] = {
      {zarv_dungeon_from_json, "\xFF\xFE", false, "input is not valid UTF-8 JSON"},
      {zarv_dungeon_from_json, "", false, "EOF while parsing a value at line 1 column 0"},
      {zarv_dungeon_from_json, "ignored", true, "EOF while parsing a value at line 1 column 0"},
      {zarv_dungeon_from_json, "{}", false, "missing field `format` at line 1 column 2"},
      {zarv_dungeon_to_json, std::string(43, '\0'), false,
       "unrecognized dungeon.dat: no byte order produced a plausible header"},
      {zarv_dungeon_to_json, "", true, "unrecognized dungeon.dat: no byte order produced a plausible header"},
  };
  for (const auto& c : cases) {
    ZarvBuffer b = c.convert(c.null_input ? nullptr : bytes_of(c.input), c.input.size());
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.len, 0u);
    ASSERT_NE(b.error, nullptr);
    EXPECT_EQ(std::string(b.error), c.message);
    zarv_buffer_free(b);
  }
}

}  // namespace
