#include <string_view>

#include "convert/detect_dungeon.hpp"
#include "convert/operations.hpp"
#include "dungeon/dungeon.hpp"
#include "dungeon/json/lossless.hpp"
#include "json/record_json.hpp"

namespace zarv::convert {

Output dungeon_to_json(Bytes bytes) {
  auto order = detect_dungeon(bytes);
  if (!order) return tl::unexpected(std::move(order.error()));
  auto dungeon = dungeon::Dungeon::parse(bytes, *order);
  if (!dungeon) return tl::unexpected(ConvertError(std::move(dungeon.error())));
  auto text = dungeon::DungeonDump::from_dungeon(*dungeon).to_pretty_json();
  if (!text) return tl::unexpected(ConvertError(std::move(text.error())));
  return std::move(*text);
}

Output dungeon_from_json(Bytes text) {
  const std::string_view json_text(reinterpret_cast<const char*>(text.data()), text.size());
  auto dump = json::from_json<dungeon::DungeonDump>(json_text);
  if (!dump) return tl::unexpected(ConvertError(std::move(dump.error())));
  auto bytes = dump->reconstruct();
  if (!bytes) return tl::unexpected(ConvertError(std::move(bytes.error())));
  return std::move(*bytes);
}

}  // namespace zarv::convert
