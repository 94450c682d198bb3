#pragma once
// The lossless dungeon document: every structure of the file in readable
// form plus the tile data block as Base64, so a dungeon can be edited as
// text and turned back into exactly the same file.
#include <cstdint>
#include <string>
#include <tl/expected.hpp>
#include <variant>
#include <vector>

#include "codec/byte_buffer.hpp"
#include "codec/record.hpp"
#include "codec/variant_error.hpp"
#include "dungeon/dungeon.hpp"
#include "json/base64.hpp"

namespace zarv::dungeon {

inline constexpr std::string_view kDumpFormat = "zarv-dungeon";
inline constexpr std::uint32_t kDumpSchemaVersion = 1;
// Rebuilding allocates the bytes before the tile data block; documents that
// claim more than this are refused.
inline constexpr std::size_t kMaxBlockStart = 16777216;

struct Base64Failed {
  json::Base64Error error;
};
struct JsonWriteFailed {
  std::string description;
};
struct FormatTag {
  std::string tag;
};
struct LengthMismatch {
  std::string name;
  std::size_t expected = 0;
  std::size_t got = 0;
};
struct TooLarge {
  std::string name;
  std::size_t value = 0;
  std::size_t limit = 0;
};
struct BodyExceedsSeed {
  std::size_t index = 0;
  std::size_t map_offset = 0;
  std::size_t length = 0;
  std::size_t seed_length = 0;
};

// Why a document could not be written or turned back into a file.
class JsonError
    : public codec::VariantError<Base64Failed, JsonWriteFailed, FormatTag, LengthMismatch, TooLarge, BodyExceedsSeed> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

struct DungeonDump {
  std::string format;
  std::uint32_t schema_version = 0;
  ByteOrder byte_order = ByteOrder::Little;
  FileHeader header;
  std::vector<Map> maps;
  std::vector<std::uint16_t> columns;
  std::vector<std::uint16_t> object_list;
  std::vector<std::uint16_t> text_database;
  ObjectTables objects;
  std::vector<MapBody> map_bodies;
  std::string tile_block_seed;  // the whole tile data block, Base64

  static DungeonDump from_dungeon(const Dungeon& dungeon);
  tl::expected<codec::ByteBuffer, JsonError> to_pretty_json() const;
  // The dungeon file bytes. Checks only what rebuilding needs: the format
  // tag, the schema version, one body per descriptor, the seed's Base64, the
  // size of the bytes before the tile block, and that every body fits in the
  // seed. Counts in the header are written as they stand.
  tl::expected<codec::ByteBuffer, JsonError> reconstruct() const;
};
ZARV_RECORD(DungeonDump, format, schema_version, byte_order, header, maps, columns, object_list, text_database, objects,
            map_bodies, tile_block_seed)

}  // namespace zarv::dungeon
