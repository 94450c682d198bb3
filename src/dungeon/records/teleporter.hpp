#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 1: 6 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Teleporter {
  static constexpr unsigned kType = 1;
  std::uint16_t next_oid = 0;
  std::uint16_t attributes = 0;
  std::uint16_t dest_map_word = 0;
};
ZARV_RECORD(Teleporter, next_oid, attributes, dest_map_word)
static_assert(codec::binary_size<Teleporter>() == 6);

}  // namespace zarv::dungeon
