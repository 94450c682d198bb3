#include "dungeon/json/lossless.hpp"

#include <fmt/format.h>

#include "json/record_json.hpp"

namespace zarv::dungeon {
namespace {

// The tag as a quoted literal with special characters escaped, so a stray
// space or control character in an edited document is visible.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\0': out += "\\0"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          out += fmt::format("\\u{{{:x}}}", static_cast<unsigned char>(c));
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

struct Render {
  std::string operator()(const Base64Failed& e) const { return "base64 decode: " + e.error.message(); }
  std::string operator()(const JsonWriteFailed& e) const { return "json: " + e.description; }
  std::string operator()(const FormatTag& e) const { return "wrong format tag: " + quoted(e.tag); }
  std::string operator()(const LengthMismatch& e) const {
    return fmt::format("{}: expected {}, got {}", e.name, e.expected, e.got);
  }
  std::string operator()(const TooLarge& e) const {
    return fmt::format("{} too large: {} exceeds limit {}", e.name, e.value, e.limit);
  }
  std::string operator()(const BodyExceedsSeed& e) const {
    return fmt::format("map {} body (offset {}, len {}) exceeds tile block seed ({})", e.index, e.map_offset,
                       e.length, e.seed_length);
  }
};

}  // namespace

std::string JsonError::message() const { return std::visit(Render{}, value_); }

DungeonDump DungeonDump::from_dungeon(const Dungeon& dungeon) {
  DungeonDump dump;
  dump.format = std::string(kDumpFormat);
  dump.schema_version = kDumpSchemaVersion;
  dump.byte_order = dungeon.byte_order;
  dump.header = dungeon.header;
  dump.maps = dungeon.maps;
  dump.columns = dungeon.columns;
  dump.object_list = dungeon.object_list;
  dump.text_database = dungeon.text_database;
  dump.objects = dungeon.objects;
  dump.map_bodies = dungeon.map_bodies;
  const auto file = dungeon.raw;
  const std::size_t block_start = std::min(tile_data_block_start(dungeon.header, dungeon.maps), file.size());
  dump.tile_block_seed = json::base64_encode(file.subspan(block_start));
  return dump;
}

tl::expected<codec::ByteBuffer, JsonError> DungeonDump::to_pretty_json() const {
  // Writing to memory cannot fail short of running out of it, which throws.
  return json::to_pretty_json(*this);
}

tl::expected<codec::ByteBuffer, JsonError> DungeonDump::reconstruct() const {
  if (format != kDumpFormat) return tl::unexpected(JsonError(FormatTag{format}));
  if (schema_version != kDumpSchemaVersion) {
    return tl::unexpected(JsonError(FormatTag{fmt::format("{} v{}", format, schema_version)}));
  }
  if (maps.size() != map_bodies.size()) {
    return tl::unexpected(JsonError(LengthMismatch{"map_bodies", maps.size(), map_bodies.size()}));
  }
  auto seed = json::base64_decode(tile_block_seed);
  if (!seed) return tl::unexpected(JsonError(Base64Failed{std::move(seed.error())}));

  const std::size_t block_start = tile_data_block_start(header, maps);
  if (block_start > kMaxBlockStart) {
    return tl::unexpected(JsonError(TooLarge{"block_start", block_start, kMaxBlockStart}));
  }
  for (std::size_t i = 0; i < maps.size(); ++i) {
    const std::size_t length = map_bodies[i].byte_size();
    if (!codec::fits(seed->size(), maps[i].map_offset, length)) {
      return tl::unexpected(JsonError(BodyExceedsSeed{i, maps[i].map_offset, length, seed->size()}));
    }
  }

  // The seed is the tile data block itself; the bodies are written over it.
  return Dungeon::write_file(header, maps, columns, object_list, text_database, objects, map_bodies, seed->bytes(),
                             byte_order);
}

}  // namespace zarv::dungeon
