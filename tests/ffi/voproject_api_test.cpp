#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "samples/dungeon_samples.hpp"
#include "zarv/zarv.h"

namespace {

using zarv::samples::Order;

std::string text_of(const ZarvBuffer& b) { return std::string(reinterpret_cast<const char*>(b.data), b.len); }

TEST(VoprojectApi, BothByteOrdersGiveTheSameDocument) {
  std::vector<std::string> documents;
  for (Order order : {Order::Little, Order::Big}) {
    const auto file = zarv::samples::build_dungeon(zarv::samples::showcase_dungeon(order));
    ZarvBuffer b = zarv_dungeon_voproject_json(file.data(), file.size());
    ASSERT_EQ(b.error, nullptr) << b.error;
    documents.push_back(text_of(b));
    zarv_buffer_free(b);
  }
  EXPECT_EQ(documents[0], documents[1]);
  EXPECT_EQ(documents[0].rfind("{\n  \"randomGraphicsSeed\": 10775,\n  \"startX\": 2,\n  \"startY\": 3,\n", 0), 0u);
  EXPECT_EQ(documents[0].back(), '}');  // no trailing newline
}

TEST(VoprojectApi, Errors) {
  // The showcase's misc item leads back to the chest that holds it.
  auto looping = zarv::samples::showcase_dungeon(Order::Big);
  for (auto& r : looping.records) {
    if (r.type == 10) r.fields[0] = 0x6400;
  }
  const auto looping_file = zarv::samples::build_dungeon(looping);
  struct Case {
    const uint8_t* data;
    size_t len;
    std::string message;
  };
  const Case cases[] = {
      {nullptr, 100, "unrecognized dungeon.dat: no byte order produced a plausible header"},
      {looping_file.data(), looping_file.size(), "cycle detected in OID chain at oid 0x6400"},
  };
  for (const Case& c : cases) {
    ZarvBuffer b = zarv_dungeon_voproject_json(c.data, c.len);
    EXPECT_EQ(b.data, nullptr);
    EXPECT_EQ(b.len, 0u);
    ASSERT_NE(b.error, nullptr);
    EXPECT_EQ(std::string(b.error), c.message);
    zarv_buffer_free(b);
  }
}

}  // namespace
