#pragma once
#include <cstdint>
#include <string_view>

namespace zarv::codec {

// Byte order of dungeon, savegame and graphics files: the PC releases are
// little-endian, the Macintosh release big-endian, with the same layouts.
enum class ByteOrder : std::uint8_t { Little, Big };

// The JSON spelling of a byte order: "Little" or "Big".
constexpr std::string_view byte_order_name(ByteOrder order) {
  return order == ByteOrder::Little ? "Little" : "Big";
}

}  // namespace zarv::codec
