#include "dungeon/dungeon.hpp"

#include <fmt/format.h>

#include "codec/internal_fault.hpp"
#include "codec/words.hpp"

namespace zarv::dungeon {
namespace {

std::size_t total_width(std::span<const Map> maps) {
  std::size_t w = 0;
  for (const Map& m : maps) w += m.width();
  return w;
}

std::span<const std::uint8_t> section(std::span<const std::uint8_t> bytes, std::size_t start, std::size_t end) {
  return bytes.subspan(start, end - start);
}

}  // namespace

std::size_t per_type_records_start(const FileHeader& header, std::span<const Map> maps) {
  return FileHeader::kSize + Map::kSize * std::size_t{header.n_maps} + 2 * total_width(maps) +
         2 * std::size_t{header.text_data_size} + 2 * std::size_t{header.obj_list_size};
}

std::size_t tile_data_block_start(const FileHeader& header, std::span<const Map> maps) {
  return per_type_records_start(header, maps) + per_type_records_size(header);
}

tl::expected<Dungeon, Error> Dungeon::parse(std::span<const std::uint8_t> bytes, ByteOrder order) {
  const std::size_t length = bytes.size();
  Dungeon d;
  d.byte_order = order;
  auto header = FileHeader::parse(bytes, order);
  if (!header) return tl::unexpected(Error(std::move(header.error())));
  d.header = *header;

  const std::size_t n = d.header.n_maps;
  const std::size_t maps_end = FileHeader::kSize + Map::kSize * n;
  if (length < maps_end) {
    return tl::unexpected(Error(codec::RecordError::custom(fmt::format(
        "Dungeon::parse: file too short for {} map records (need {} bytes, have {})", n, maps_end, length))));
  }
  d.maps.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    auto map = Map::parse(bytes.subspan(FileHeader::kSize + Map::kSize * i, Map::kSize), order);
    if (!map) return tl::unexpected(Error(std::move(map.error())));
    d.maps.push_back(*map);
  }

  // Each section's end is checked against the file before it is read.
  const std::size_t columns_end = maps_end + 2 * total_width(d.maps);
  if (length < columns_end) return tl::unexpected(Error(ColumnsTruncated{columns_end, length}));
  d.columns = codec::decode_u16_words(section(bytes, maps_end, columns_end), order);

  const std::size_t object_list_end = columns_end + 2 * std::size_t{d.header.obj_list_size};
  if (length < object_list_end) return tl::unexpected(Error(ObjectListTruncated{object_list_end, length}));
  d.object_list = codec::decode_u16_words(section(bytes, columns_end, object_list_end), order);

  const std::size_t text_end = object_list_end + 2 * std::size_t{d.header.text_data_size};
  if (length < text_end) return tl::unexpected(Error(TextTruncated{text_end, length}));
  d.text_database = codec::decode_u16_words(section(bytes, object_list_end, text_end), order);

  const std::size_t records_end = text_end + per_type_records_size(d.header);
  if (length < records_end) return tl::unexpected(Error(RecordsTruncated{records_end, length}));
  auto objects = ObjectTables::parse(section(bytes, text_end, records_end), d.header.n_records, order);
  if (!objects) return tl::unexpected(Error(std::move(objects.error())));
  d.objects = std::move(*objects);

  const auto block = bytes.subspan(records_end);
  d.map_bodies.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t offset = d.maps[i].map_offset;
    auto slice = offset <= block.size() ? block.subspan(offset) : std::span<const std::uint8_t>{};
    auto body = MapBody::parse(slice, d.maps[i], i);
    if (!body) return tl::unexpected(std::move(body.error()));
    d.map_bodies.push_back(std::move(*body));
  }
  d.raw = bytes;
  return d;
}

codec::ByteBuffer Dungeon::to_bytes() const {
  const std::size_t block_start = tile_data_block_start(header, maps);
  const auto file = raw;
  if (file.size() < block_start) throw InternalFault("dungeon raw bytes shorter than the tile data block start");
  return write_file(header, maps, columns, object_list, text_database, objects, map_bodies, file.subspan(block_start),
                    byte_order);
}

codec::ByteBuffer Dungeon::write_file(const FileHeader& header, std::span<const Map> maps,
                                      std::span<const std::uint16_t> columns, std::span<const Oid> object_list,
                                      std::span<const std::uint16_t> text_database, const ObjectTables& objects,
                                      std::span<const MapBody> map_bodies, std::span<const std::uint8_t> tile_block,
                                      ByteOrder order) {
  codec::ByteBuffer out;
  out.reserve(tile_data_block_start(header, maps) + tile_block.size());
  codec::write_record(out, header, order);
  for (const Map& m : maps) codec::write_record(out, m, order);
  codec::append_u16_words(out, columns, order);
  codec::append_u16_words(out, object_list, order);
  codec::append_u16_words(out, text_database, order);
  objects.write(out, order);

  const std::size_t block_at = out.size();
  out.append(tile_block);
  // Bodies overwrite their own place in the copied block; later ones win
  // where they overlap.
  const std::size_t n = std::min(map_bodies.size(), maps.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t offset = maps[i].map_offset;
    const std::size_t size = map_bodies[i].byte_size();
    if (!codec::fits(tile_block.size(), offset, size)) throw InternalFault("map body outside the tile data block");
    map_bodies[i].write(out.data() + block_at + offset);
  }
  return out;
}

std::optional<Oid> Dungeon::first_object_on_tile(std::size_t map_index, unsigned x, unsigned y) const {
  if (map_index >= maps.size() || map_index >= map_bodies.size()) return std::nullopt;
  const MapBody& body = map_bodies[map_index];
  if (x >= body.width || y >= body.height || body.tiles.size() < std::size_t{body.width} * body.height) {
    return std::nullopt;
  }
  std::size_t base = 0;
  for (std::size_t i = 0; i < map_index; ++i) base += maps[i].width();
  if (base + x >= columns.size()) return std::nullopt;
  std::size_t index = columns[base + x];
  for (unsigned r = 0; r < y; ++r) {
    if (tile_has_objects(body.tile(x, r))) ++index;
  }
  if (!tile_has_objects(body.tile(x, y)) || index >= object_list.size()) return std::nullopt;
  return object_list[index];
}

}  // namespace zarv::dungeon
