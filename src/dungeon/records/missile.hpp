#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 14: 8 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Missile {
  static constexpr unsigned kType = 14;
  std::uint16_t next_oid = 0;
  std::uint16_t projectile_object = 0;
  std::uint8_t range_remaining = 0;
  std::uint8_t damage_remaining = 0;
  std::uint16_t event_index = 0;
};
ZARV_RECORD(Missile, next_oid, projectile_object, range_remaining, damage_remaining, event_index)
static_assert(codec::binary_size<Missile>() == 8);

}  // namespace zarv::dungeon
