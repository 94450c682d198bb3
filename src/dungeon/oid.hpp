#pragma once
#include <cstdint>

namespace zarv::dungeon {

// A 16-bit object identifier: the record index in bits 0 to 9, the record
// type in bits 10 to 13 and the object's corner of its square in bits 14
// and 15. Values from 0xFFFE up are not references: they end a chain.
using Oid = std::uint16_t;

inline constexpr Oid kOidEnd = 0xFFFE;

constexpr unsigned oid_index(Oid oid) { return oid & 0x3FF; }
constexpr unsigned oid_type(Oid oid) { return (oid >> 10) & 0x0F; }
constexpr unsigned oid_position(Oid oid) { return oid >> 14; }
constexpr bool oid_is_reference(Oid oid) { return oid < kOidEnd; }

// Record size in bytes of each object type 0 to 15; types 11 to 13 have no
// records in the file.
inline constexpr unsigned kRecordSizes[16] = {4, 6, 4, 8, 16, 4, 4, 4, 4, 8, 4, 0, 0, 0, 8, 4};

}  // namespace zarv::dungeon
