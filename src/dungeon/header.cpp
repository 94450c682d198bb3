#include "dungeon/header.hpp"

#include <numeric>

namespace zarv::dungeon {

tl::expected<FileHeader, codec::RecordError> FileHeader::parse(std::span<const std::uint8_t> bytes,
                                                               ByteOrder order) {
  return codec::read_record<FileHeader>(bytes, order);
}

bool FileHeader::is_plausible() const {
  const std::uint32_t total_records = std::accumulate(n_records.begin(), n_records.end(), std::uint32_t{0});
  return n_maps >= 1 && n_maps <= 128 && total_records <= 10000;
}

tl::expected<Map, codec::RecordError> Map::parse(std::span<const std::uint8_t> bytes, ByteOrder order) {
  return codec::read_record<Map>(bytes, order);
}

}  // namespace zarv::dungeon
