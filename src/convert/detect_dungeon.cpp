#include "convert/detect_dungeon.hpp"

#include "dungeon/header.hpp"

namespace zarv::convert {
namespace {

bool order_fits(std::span<const std::uint8_t> bytes, codec::ByteOrder order) {
  auto header = dungeon::FileHeader::parse(bytes, order);
  if (!header || !header->is_plausible()) return false;
  // Both sizes are counts of 16-bit words; 64-bit arithmetic cannot overflow.
  const std::uint64_t declared_end = std::uint64_t{dungeon::FileHeader::kSize} + header->map_data_size +
                                     2 * (std::uint64_t{header->text_data_size} + header->obj_list_size);
  return declared_end <= bytes.size();
}

}  // namespace

tl::expected<codec::ByteOrder, ConvertError> detect_dungeon(std::span<const std::uint8_t> bytes) {
  for (codec::ByteOrder order : {codec::ByteOrder::Little, codec::ByteOrder::Big}) {
    if (order_fits(bytes, order)) return order;
  }
  return tl::unexpected(ConvertError(UnrecognizedDungeon{}));
}

}  // namespace zarv::convert
