#include "convert/detect_dungeon.hpp"
#include "convert/operations.hpp"
#include "dungeon/dungeon.hpp"
#include "dungeon/json/voproject.hpp"

namespace zarv::convert {

Output dungeon_voproject_json(Bytes bytes) {
  auto order = detect_dungeon(bytes);
  if (!order) return tl::unexpected(std::move(order.error()));
  auto dungeon = dungeon::Dungeon::parse(bytes, *order);
  if (!dungeon) return tl::unexpected(ConvertError(std::move(dungeon.error())));
  auto text = dungeon::dump_dungeon(*dungeon);
  if (!text) return tl::unexpected(ConvertError(std::move(text.error())));
  return std::move(*text);
}

}  // namespace zarv::convert
