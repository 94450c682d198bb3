#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 4: 16 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Creature {
  static constexpr unsigned kType = 4;
  std::uint16_t next_oid = 0;
  std::uint16_t next_possession_oid = 0;
  std::uint8_t creature_type = 0;
  std::uint8_t internal_id = 0;
  std::uint16_t hp = 0;
  std::uint16_t anim_seq = 0;
  std::uint16_t anim_frame = 0;
  std::uint16_t trigger_loc = 0;
  std::uint16_t dir_flags = 0;
};
ZARV_RECORD(Creature, next_oid, next_possession_oid, creature_type, internal_id, hp, anim_seq, anim_frame, trigger_loc, dir_flags)
static_assert(codec::binary_size<Creature>() == 16);

}  // namespace zarv::dungeon
