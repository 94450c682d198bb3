#include "dungeon/object_tables.hpp"

#include <optional>

#include "dungeon/oid.hpp"

namespace zarv::dungeon {

tl::expected<ObjectTables, codec::RecordError> ObjectTables::parse(std::span<const std::uint8_t> block,
                                                                  const std::array<std::uint16_t, 16>& counts,
                                                                  ByteOrder order) {
  ObjectTables tables;
  std::size_t position = 0;
  std::optional<codec::RecordError> failure;
  // The lists are declared in type-number order, which is the block's order.
  boost::mp11::mp_for_each<codec::record_members<ObjectTables>>([&](auto member) {
    if (failure) return;
    auto& list = tables.*member.pointer;
    using Kind = typename std::remove_cvref_t<decltype(list)>::value_type;
    auto records = parse_vec<Kind>(block, position, counts[Kind::kType], order);
    if (!records) {
      failure = std::move(records.error());
      return;
    }
    list = std::move(*records);
  });
  if (failure) return tl::unexpected(std::move(*failure));
  return tables;
}

void ObjectTables::write(codec::ByteBuffer& out, ByteOrder order) const {
  boost::mp11::mp_for_each<codec::record_members<ObjectTables>>([&](auto member) {
    for (const auto& record : this->*member.pointer) codec::write_record(out, record, order);
  });
}

codec::ByteBuffer ObjectTables::to_bytes(ByteOrder order) const {
  codec::ByteBuffer out;
  write(out, order);
  return out;
}

std::size_t per_type_records_size(const FileHeader& header) {
  std::size_t total = 0;
  for (unsigned type = 0; type < 16; ++type) total += std::size_t{kRecordSizes[type]} * header.n_records[type];
  return total;
}

}  // namespace zarv::dungeon
