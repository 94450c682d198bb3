#include "dungeon/body.hpp"

#include <cstring>

namespace zarv::dungeon {
namespace {

std::vector<std::uint8_t> take(std::span<const std::uint8_t> slice, std::size_t& at, std::size_t n) {
  std::vector<std::uint8_t> out(slice.begin() + static_cast<std::ptrdiff_t>(at),
                                slice.begin() + static_cast<std::ptrdiff_t>(at + n));
  at += n;
  return out;
}

std::uint8_t* put(std::uint8_t* out, const std::vector<std::uint8_t>& list) {
  if (!list.empty()) std::memcpy(out, list.data(), list.size());
  return out + list.size();
}

}  // namespace

tl::expected<MapBody, Error> MapBody::parse(std::span<const std::uint8_t> slice, const Map& map,
                                            std::size_t map_index) {
  const std::size_t needed = map.body_size();
  if (slice.size() < needed) {
    return tl::unexpected(Error(BodyTooShort{map_index, needed, map.map_offset, slice.size()}));
  }
  MapBody body;
  body.width = static_cast<std::uint8_t>(map.width());
  body.height = static_cast<std::uint8_t>(map.height());
  std::size_t at = 0;
  body.tiles = take(slice, at, std::size_t{map.width()} * map.height());
  body.allowed_creature_types = take(slice, at, map.allowed_creature_types_count());
  body.wall_graphics = take(slice, at, map.wall_graphics_count());
  body.floor_graphics = take(slice, at, map.floor_graphics_count());
  body.door_decoration_graphics = take(slice, at, map.door_decoration_count());
  return body;
}

std::size_t MapBody::byte_size() const {
  return tiles.size() + allowed_creature_types.size() + wall_graphics.size() + floor_graphics.size() +
         door_decoration_graphics.size();
}

void MapBody::write(std::uint8_t* out) const {
  out = put(out, tiles);
  out = put(out, allowed_creature_types);
  out = put(out, wall_graphics);
  out = put(out, floor_graphics);
  put(out, door_decoration_graphics);
}

codec::ByteBuffer MapBody::to_bytes() const {
  codec::ByteBuffer out(byte_size());
  write(out.data());
  return out;
}

}  // namespace zarv::dungeon
