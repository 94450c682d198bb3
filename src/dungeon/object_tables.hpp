#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "codec/record.hpp"
#include "dungeon/header.hpp"
#include "dungeon/records/actuator.hpp"
#include "dungeon/records/chest.hpp"
#include "dungeon/records/clothes.hpp"
#include "dungeon/records/cloud.hpp"
#include "dungeon/records/creature.hpp"
#include "dungeon/records/door.hpp"
#include "dungeon/records/misc.hpp"
#include "dungeon/records/missile.hpp"
#include "dungeon/records/potion.hpp"
#include "dungeon/records/scroll.hpp"
#include "dungeon/records/teleporter.hpp"
#include "dungeon/records/text.hpp"
#include "dungeon/records/weapon.hpp"

namespace zarv::dungeon {

// The thirteen per-type record lists, in type-number order. A record's
// position in its list is the index part of the identifiers naming it.
struct ObjectTables {
  std::vector<Door> doors;
  std::vector<Teleporter> teleporters;
  std::vector<Text> texts;
  std::vector<Actuator> actuators;
  std::vector<Creature> creatures;
  std::vector<Weapon> weapons;
  std::vector<Clothes> clothes;
  std::vector<Scroll> scrolls;
  std::vector<Potion> potions;
  std::vector<Chest> chests;
  std::vector<Misc> misc;
  std::vector<Missile> missiles;
  std::vector<Cloud> clouds;

  // Reads the per-type records block: counts[type] records of each kind in
  // type order. The block handed in is exactly per_type_records_size long,
  // so a read past its end means the caller cut it wrong.
  static tl::expected<ObjectTables, codec::RecordError> parse(std::span<const std::uint8_t> block,
                                                             const std::array<std::uint16_t, 16>& counts,
                                                             ByteOrder order);

  // Appends every record of every list (not the header's counts) in type order.
  void write(codec::ByteBuffer& out, ByteOrder order) const;
  codec::ByteBuffer to_bytes(ByteOrder order) const;
};
ZARV_RECORD(ObjectTables, doors, teleporters, texts, actuators, creatures, weapons, clothes, scrolls, potions, chests,
            misc, missiles, clouds)

// Reads `count` records of one kind at `position`, advancing it.
template <codec::Record T>
tl::expected<std::vector<T>, codec::RecordError> parse_vec(std::span<const std::uint8_t> block, std::size_t& position,
                                                           std::size_t count, ByteOrder order) {
  codec::ByteCursor cursor(block, position);
  std::vector<T> records;
  // The count comes from the file: never reserve beyond what the block holds.
  records.reserve(std::min(count, cursor.remaining() / codec::binary_size<T>()));
  for (std::size_t k = 0; k < count; ++k) {
    auto record = codec::read_record<T>(cursor, order);
    if (!record) return tl::unexpected(std::move(record.error()));
    records.push_back(*record);
  }
  position = cursor.position();
  return records;
}

// Size of the per-type records block the header's counts describe.
std::size_t per_type_records_size(const FileHeader& header);

}  // namespace zarv::dungeon
