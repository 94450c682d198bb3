#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 5: 4 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Weapon {
  static constexpr unsigned kType = 5;
  std::uint16_t next_oid = 0;
  std::uint16_t attributes = 0;
};
ZARV_RECORD(Weapon, next_oid, attributes)
static_assert(codec::binary_size<Weapon>() == 4);

}  // namespace zarv::dungeon
