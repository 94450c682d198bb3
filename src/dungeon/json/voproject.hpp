#pragma once
// The editor-project document: maps as text grids of tile bytes with
// per-square object references, the descriptors' packed words as named map
// properties, and one flat list of every object that lies on a square, each
// record decoded into named fields and linked to the others by list
// position. The export is one-way: nothing reads the document back.
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tl/expected.hpp>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "codec/byte_buffer.hpp"
#include "codec/variant_error.hpp"
#include "dungeon/body.hpp"
#include "dungeon/dungeon.hpp"
#include "dungeon/oid.hpp"

namespace zarv::dungeon {

// ---- errors ---------------------------------------------------------------

// An object reached a second time: a chain loops, or two chains share it.
struct CycleDetected {
  Oid oid = 0;
};
// An identifier whose type has no records, or whose index lies past them.
struct OidPastRecords {
  Oid oid = 0;
  unsigned category = 0;
  unsigned index = 0;
  std::size_t count = 0;
};
// A square says it holds objects but its object-list entry is missing or
// is not a reference.
struct DanglingTileObject {
  std::size_t map = 0;
  unsigned x = 0;
  unsigned y = 0;
};

class VoprojectDumpError : public codec::VariantError<CycleDetected, OidPastRecords, DanglingTileObject> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

// ---- object entries -------------------------------------------------------
// One struct per record kind, holding the decoded values in the order the
// document writes them. Fields the document leaves out are not kept.

struct DoorJson {
  static constexpr const char* kType = "door";
  bool button_state = false;
  bool bashable_by_chopping = false;
  bool destroyable_by_fireball = false;
  bool button = false;
  bool open_vertical = false;
  unsigned door_type = 0;
  int door_ornate = -1;  // -1 when the map has no such decoration
  bool opening_dir = false;
  bool operator==(const DoorJson&) const = default;
};

struct TeleporterJson {
  static constexpr const char* kType = "teleporter";
  unsigned dest_x = 0;
  unsigned dest_y = 0;
  unsigned dest_map = 0;
  unsigned rotation = 0;
  bool absolute_rotation = false;
  unsigned scope = 0;
  bool sound = false;
  bool operator==(const TeleporterJson&) const = default;
};

struct TextJson {
  static constexpr const char* kType = "text";
  bool text_visibility = false;
  unsigned text_mode = 0;
  unsigned text_index = 0;
  bool operator==(const TextJson&) const = default;
};

struct ActuatorJson {
  static constexpr const char* kType = "actuator";
  unsigned actuator_type = 0;
  unsigned actuator_data = 0;
  bool active_status = false;
  bool once_only_actuator = false;
  unsigned action_type = 0;
  bool inversion = false;
  bool sound = false;
  unsigned delay = 0;
  // One of the two holds the decoration, the other -1, by the type of the
  // square the chain starts on.
  int floor_ornate = -1;
  int wall_ornate = -1;
  unsigned new_direction = 0;
  unsigned x_coord = 0;
  unsigned y_coord = 0;
  bool operator==(const ActuatorJson&) const = default;
};

struct CreatureJson {
  static constexpr const char* kType = "creature";
  unsigned creature_type = 0;
  unsigned position = 0;
  unsigned hp1 = 0;
  unsigned hp2 = 0;
  unsigned hp3 = 0;
  unsigned hp4 = 0;
  bool operator==(const CreatureJson&) const = default;
};

// Weapons, clothes and miscellaneous items share their keys; only the bits
// of "charges" and the type name differ.
struct ItemJson {
  std::string_view type_name = "weapon";  // "weapon", "cloth" or "miscItem"
  unsigned item_type = 0;
  bool important = false;
  unsigned charges = 0;
  bool operator==(const ItemJson&) const = default;
};

struct ScrollJson {
  static constexpr const char* kType = "scroll";
  unsigned referred_text = 0;
  bool operator==(const ScrollJson&) const = default;
};

struct PotionJson {
  static constexpr const char* kType = "potion";
  unsigned potion_power = 0;
  unsigned potion_type = 0;
  bool visible_power = false;
  bool operator==(const PotionJson&) const = default;
};

struct ContainerJson {
  static constexpr const char* kType = "container";
  bool is_opened = false;
  unsigned container_type = 0;
  unsigned dest_x = 0;
  unsigned dest_y = 0;
  unsigned dest_map = 0;
  bool operator==(const ContainerJson&) const = default;
};

struct MissileJson {
  static constexpr const char* kType = "missile";
  bool operator==(const MissileJson&) const = default;
};

struct CloudJson {
  static constexpr const char* kType = "cloud";
  bool operator==(const CloudJson&) const = default;
};

using ObjFields = std::variant<DoorJson, TeleporterJson, TextJson, ActuatorJson, CreatureJson, ItemJson, ScrollJson,
                               PotionJson, ContainerJson, MissileJson, CloudJson>;

// One element of "objs". References are positions in "objs", -1 for none.
struct ObjVariant {
  unsigned direction = 0;  // the object's corner of its square, from its identifier
  std::int32_t next_obj_ref = -1;
  std::int32_t child_obj_ref = -1;  // written only for creatures, containers and missiles
  ObjFields fields;

  bool operator==(const ObjVariant&) const = default;

  // Creatures, containers and missiles hold a chain of their own.
  bool holds_objects() const {
    return std::holds_alternative<CreatureJson>(fields) || std::holds_alternative<ContainerJson>(fields) ||
           std::holds_alternative<MissileJson>(fields);
  }
};

// ---- the document ---------------------------------------------------------

struct MapJson {
  std::string tiles;                        // two upper-case hex digits per square, column by column
  std::vector<std::int32_t> tile_obj_refs;  // per square: position of its first object, or -1
  bool use_teleporter = false;
  bool use_door0 = false;
  bool use_door1 = false;
  bool use_upper_pitfall = false;
  bool use_lower_pitfall = false;
  bool use_up_staircase = false;
  bool use_down_staircase = false;
  unsigned shift_x = 0;
  unsigned shift_y = 0;
  unsigned height = 0;
  unsigned width = 0;
  unsigned level = 0;
  unsigned difficulty = 0;
  unsigned map_graphics_style = 0;
  unsigned wall_graphics_random_decorations = 0;
  std::vector<std::uint8_t> allowed_creature_types;
  bool operator==(const MapJson&) const = default;
};

struct DungeonJson {
  unsigned random_graphics_seed = 0;
  unsigned start_x = 0;
  unsigned start_y = 0;
  unsigned start_dir = 0;
  unsigned start_map = 0;  // always 0: the party starts on the first map
  std::vector<MapJson> maps;
  std::vector<ObjVariant> objs;
  bool operator==(const DungeonJson&) const = default;
};

// ---- the walk -------------------------------------------------------------

// Lists the objects reachable from squares depth first in pre-order: an
// object, then everything it holds (with their own chains), then the rest of
// its chain. One walker serves the whole dungeon, so positions and the
// visited set span every map.
//
// The walk keeps its own stack instead of recursing, so that a chain of
// thousands of objects cannot exhaust the call stack; the order of "objs"
// and every reference are those of the recursive definition.
class DfsWalker {
 public:
  explicit DfsWalker(const Dungeon& dungeon);

  // Lists the chain starting at `oid`, found on a square of map `map` whose
  // tile byte is `tile`, and returns the position of its first object.
  tl::expected<std::int32_t, VoprojectDumpError> visit(Oid oid, std::size_t map, Tile tile);

  const std::vector<ObjVariant>& objs() const { return objs_; }
  std::vector<ObjVariant> take_objs() { return std::move(objs_); }

 private:
  // Where a listed object's position must be stored once it is known.
  struct Pending {
    Oid oid;
    std::int32_t parent;  // -1 for the chain's first object
    bool as_child;        // stored in the parent's childObjRef, else its nextObjRef
  };

  // Marks and checks one object, then lists it. Returns its position.
  tl::expected<std::int32_t, VoprojectDumpError> list_object(Oid oid, std::size_t map, Tile tile);
  ObjVariant decode(Oid oid, std::size_t map, Tile tile) const;
  std::size_t record_count(unsigned category) const;

  const Dungeon& dungeon_;
  std::vector<ObjVariant> objs_;
  // Keyed by the whole 16-bit identifier, corner bits included: a record
  // named under two corners is listed under both, as a viewer of such a
  // dungeon would show it, while every loop still ends at a repeated
  // identifier.
  std::bitset<1u << 16> visited_;
  std::vector<Pending> stack_;
};

// The document's value, or the first error met.
tl::expected<DungeonJson, VoprojectDumpError> build(const Dungeon& dungeon);

// The document written as pretty JSON (two-space indentation, no trailing
// newline).
void write_voproject(const DungeonJson& document, codec::ByteBuffer& out);

// `build` then `write_voproject`: the document as UTF-8 text.
tl::expected<codec::ByteBuffer, VoprojectDumpError> dump_dungeon(const Dungeon& dungeon);

}  // namespace zarv::dungeon
