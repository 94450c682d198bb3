#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "dungeon/body.hpp"
#include "dungeon/error.hpp"
#include "dungeon/header.hpp"
#include "dungeon/object_tables.hpp"
#include "dungeon/oid.hpp"

namespace zarv::dungeon {

// The word-array sections: the object list holds the first object of every
// square with objects, column by column; the text database is kept as stored.
using ObjectList = std::vector<Oid>;
using TextDatabase = std::vector<std::uint16_t>;

// Offsets of the dungeon file's sections, computed from the header and the
// descriptors alone: header, descriptors, columns, object list, text
// database, per-type records block, then the tile data block to the end.
std::size_t per_type_records_start(const FileHeader& header, std::span<const Map> maps);
std::size_t tile_data_block_start(const FileHeader& header, std::span<const Map> maps);

// A whole dungeon file. Parsing and writing round-trip byte for byte: the
// writer starts from the tile data block of the bytes it was read from, so
// gaps between bodies and trailing bytes survive.
struct Dungeon {
  FileHeader header;
  std::vector<Map> maps;
  std::vector<std::uint16_t> columns;  // one word per column of every map
  ObjectList object_list;
  TextDatabase text_database;
  ObjectTables objects;
  std::vector<MapBody> map_bodies;
  ByteOrder byte_order = ByteOrder::Little;
  // The file the dungeon was read from, a view of the caller's input: the
  // Dungeon must not outlive it. Its tail from tile_data_block_start is the
  // tile data block that to_bytes writes the bodies over.
  std::span<const std::uint8_t> raw;

  static tl::expected<Dungeon, Error> parse(std::span<const std::uint8_t> bytes, ByteOrder order);

  // The file bytes. Throws InternalFault when `raw` is shorter than the tile
  // data block start or a body falls outside the block: neither happens for
  // a parsed dungeon or a checked reconstruction.
  codec::ByteBuffer to_bytes() const;

  // Writes a dungeon file from its parts, with `tile_block` (whose length
  // is the block's) as the tile data block and every body written over it
  // at its offset. Throws InternalFault when a body falls outside the block.
  static codec::ByteBuffer write_file(const FileHeader& header, std::span<const Map> maps,
                                      std::span<const std::uint16_t> columns, std::span<const Oid> object_list,
                                      std::span<const std::uint16_t> text_database, const ObjectTables& objects,
                                      std::span<const MapBody> map_bodies, std::span<const std::uint8_t> tile_block,
                                      ByteOrder order);

  // The identifier of the first object on square (x, y) of a map, when the
  // square has objects and its object-list entry exists.
  std::optional<Oid> first_object_on_tile(std::size_t map_index, unsigned x, unsigned y) const;
};

}  // namespace zarv::dungeon
