#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 10: 4 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Misc {
  static constexpr unsigned kType = 10;
  std::uint16_t next_oid = 0;
  std::uint16_t attributes = 0;
};
ZARV_RECORD(Misc, next_oid, attributes)
static_assert(codec::binary_size<Misc>() == 4);

}  // namespace zarv::dungeon
