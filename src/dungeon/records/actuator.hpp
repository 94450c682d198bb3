#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 3: 8 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Actuator {
  static constexpr unsigned kType = 3;
  std::uint16_t next_oid = 0;
  std::uint16_t data_and_type = 0;
  std::uint16_t behaviour = 0;
  std::uint16_t target = 0;
};
ZARV_RECORD(Actuator, next_oid, data_and_type, behaviour, target)
static_assert(codec::binary_size<Actuator>() == 8);

}  // namespace zarv::dungeon
