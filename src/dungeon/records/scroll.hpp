#pragma once
#include <cstdint>

#include "codec/record.hpp"

namespace zarv::dungeon {

// Object type 7: 4 bytes. Fields are stored as raw integers; the
// editor-project export is what interprets them.
struct Scroll {
  static constexpr unsigned kType = 7;
  std::uint16_t next_oid = 0;
  std::uint16_t attributes = 0;
};
ZARV_RECORD(Scroll, next_oid, attributes)
static_assert(codec::binary_size<Scroll>() == 4);

}  // namespace zarv::dungeon
