#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 9: 8 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Chest {
  static constexpr unsigned kType = 9;
  std::uint16_t next_oid = 0;
  std::uint16_t next_contained_oid = 0;
  std::uint16_t attributes = 0;
  std::uint16_t unused = 0;
};
ZARV_RECORD(Chest, next_oid, next_contained_oid, attributes, unused)
static_assert(codec::binary_size<Chest>() == 8);

}  // namespace zarv::dungeon
