#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 0: 4 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Door {
  static constexpr unsigned kType = 0;
  std::uint16_t next_oid = 0;
  std::uint16_t attributes = 0;
};
ZARV_RECORD(Door, next_oid, attributes)
static_assert(codec::binary_size<Door>() == 4);

}  // namespace zarv::dungeon
