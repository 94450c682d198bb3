#include "dungeon/json/voproject.hpp"

#include <algorithm>
#include <span>
#include <string_view>

#include <fmt/format.h>

#include "codec/internal_fault.hpp"

#include "json/writer.hpp"

namespace zarv::dungeon {
namespace {

// ---- messages ---------------------------------------------------------------

struct Render {
  std::string operator()(const CycleDetected& e) const {
    return fmt::format("cycle detected in OID chain at oid 0x{:04x}", e.oid);
  }
  std::string operator()(const OidPastRecords& e) const {
    return fmt::format("oid 0x{:04x} (category {}, index {}) past n_records[{}] = {}", e.oid, e.category, e.index,
                       e.category, e.count);
  }
  std::string operator()(const DanglingTileObject& e) const {
    return fmt::format("dangling tile object at map {} ({}, {}): column entry is FREE or END", e.map, e.x, e.y);
  }
};

// ---- bit fields ---------------------------------------------------------------

// Bits first..last (inclusive, counted from the least significant) of a word.
constexpr unsigned bits(unsigned word, unsigned first, unsigned last) {
  return (word >> first) & ((1u << (last - first + 1)) - 1);
}
constexpr bool bit(unsigned word, unsigned n) { return ((word >> n) & 1u) != 0; }

// ---- record decoders ----------------------------------------------------------

DoorJson decode_door(const Door& r, const Map& map, const MapBody& body) {
  const unsigned a = r.attributes;
  DoorJson d;
  d.button_state = bit(a, 12);
  d.bashable_by_chopping = bit(a, 8);
  d.destroyable_by_fireball = bit(a, 7);
  d.button = bit(a, 6);
  d.open_vertical = bit(a, 5);
  // Each map offers two door kinds in its descriptor; bit 0 picks one.
  d.door_type = bit(a, 0) ? bits(map.w14, 12, 15) : bits(map.w14, 8, 11);
  const unsigned ornate = bits(a, 1, 4);
  d.door_ornate = ornate < body.door_decoration_graphics.size() ? body.door_decoration_graphics[ornate] : -1;
  return d;
}

TeleporterJson decode_teleporter(const Teleporter& r) {
  const unsigned a = r.attributes;
  TeleporterJson t;
  t.dest_x = bits(a, 0, 4);
  t.dest_y = bits(a, 5, 9);
  t.dest_map = bits(r.dest_map_word, 8, 15);
  t.rotation = bits(a, 10, 11);
  t.absolute_rotation = bit(a, 12);
  t.scope = bits(a, 13, 14);
  t.sound = bit(a, 15);
  return t;
}

TextJson decode_text(const Text& r) {
  const unsigned a = r.attributes;
  return TextJson{bit(a, 0), bits(a, 1, 2), bits(a, 3, 15)};
}

ActuatorJson decode_actuator(const Actuator& r, Tile tile) {
  const unsigned behaviour = r.behaviour;
  ActuatorJson act;
  act.actuator_type = bits(r.data_and_type, 0, 6);
  act.actuator_data = bits(r.data_and_type, 7, 15);
  act.once_only_actuator = bit(behaviour, 2);
  act.action_type = bits(behaviour, 3, 4);
  act.inversion = bit(behaviour, 5);
  act.sound = bit(behaviour, 6);
  act.delay = bits(behaviour, 7, 10);
  // The decoration belongs to the wall when the chain starts on a wall
  // square, to the floor otherwise.
  const int ornate = static_cast<int>(bits(behaviour, 12, 15));
  if (tile_type(tile) == 0) {
    act.wall_ornate = ornate;
  } else {
    act.floor_ornate = ornate;
  }
  act.new_direction = bits(r.target, 4, 5);
  act.x_coord = bits(r.target, 6, 10);
  act.y_coord = bits(r.target, 11, 15);
  return act;
}

CreatureJson decode_creature(const Creature& r) {
  return CreatureJson{r.creature_type, r.internal_id, r.hp, r.anim_seq, r.anim_frame, r.trigger_loc};
}

ItemJson decode_item(std::string_view type_name, unsigned attributes, unsigned charges_first, unsigned charges_last) {
  return ItemJson{type_name, bits(attributes, 0, 6), bit(attributes, 7),
                  bits(attributes, charges_first, charges_last)};
}

ScrollJson decode_scroll(const Scroll& r) { return ScrollJson{bits(r.attributes, 0, 9)}; }

PotionJson decode_potion(const Potion& r) {
  const unsigned a = r.attributes;
  return PotionJson{bits(a, 0, 7), bits(a, 8, 14), bit(a, 15)};
}

ContainerJson decode_container(const Chest& r) {
  ContainerJson c;
  c.is_opened = bit(r.attributes, 0);
  c.container_type = bits(r.attributes, 1, 2);
  c.dest_x = bits(r.unused, 0, 4);
  c.dest_y = bits(r.unused, 5, 9);
  return c;
}

// The identifier where the record's chain goes on, and the first object it
// holds (kOidEnd when it holds nothing or cannot hold anything).
struct Links {
  Oid next = kOidEnd;
  Oid child = kOidEnd;
};

Links links_of(const ObjectTables& t, unsigned category, unsigned index) {
  switch (category) {
    case 0: return {t.doors[index].next_oid};
    case 1: return {t.teleporters[index].next_oid};
    case 2: return {t.texts[index].next_oid};
    case 3: return {t.actuators[index].next_oid};
    case 4: return {t.creatures[index].next_oid, t.creatures[index].next_possession_oid};
    case 5: return {t.weapons[index].next_oid};
    case 6: return {t.clothes[index].next_oid};
    case 7: return {t.scrolls[index].next_oid};
    case 8: return {t.potions[index].next_oid};
    case 9: return {t.chests[index].next_oid, t.chests[index].next_contained_oid};
    case 10: return {t.misc[index].next_oid};
    case 14: return {t.missiles[index].next_oid, t.missiles[index].projectile_object};
    case 15: return {t.clouds[index].next_oid};
    default: throw InternalFault("links_of: a type without records was not refused");
  }
}

// ---- writing ------------------------------------------------------------------

void put_bool(json::Writer& w, std::string_view key, bool value) {
  w.key(key);
  w.bool_value(value);
}
void put_uint(json::Writer& w, std::string_view key, unsigned value) {
  w.key(key);
  w.uint_value(value);
}
void put_int(json::Writer& w, std::string_view key, std::int64_t value) {
  w.key(key);
  w.int_value(value);
}
void put_string(json::Writer& w, std::string_view key, std::string_view value) {
  w.key(key);
  w.string_value(value);
}

void write_fields(json::Writer& w, const DoorJson& d) {
  put_bool(w, "buttonState", d.button_state);
  put_bool(w, "bashablebyChopping", d.bashable_by_chopping);
  put_bool(w, "destroyablebyFireball", d.destroyable_by_fireball);
  put_bool(w, "button", d.button);
  put_bool(w, "openVertical", d.open_vertical);
  put_uint(w, "doorType", d.door_type);
  put_int(w, "doorOrnate", d.door_ornate);
  put_bool(w, "openingDir", d.opening_dir);
}

void write_fields(json::Writer& w, const TeleporterJson& t) {
  put_uint(w, "destX", t.dest_x);
  put_uint(w, "destY", t.dest_y);
  put_uint(w, "destMap", t.dest_map);
  put_uint(w, "rotation", t.rotation);
  put_bool(w, "absoluteRotation", t.absolute_rotation);
  put_uint(w, "scope", t.scope);
  put_bool(w, "sound", t.sound);
}

void write_fields(json::Writer& w, const TextJson& t) {
  put_bool(w, "textVisibility", t.text_visibility);
  put_uint(w, "textMode", t.text_mode);
  put_uint(w, "textIndex", t.text_index);
}

void write_fields(json::Writer& w, const ActuatorJson& a) {
  put_uint(w, "actuatorType", a.actuator_type);
  put_uint(w, "actuatorData", a.actuator_data);
  put_bool(w, "activeStatus", a.active_status);
  put_bool(w, "onceOnlyActuator", a.once_only_actuator);
  put_uint(w, "actionType", a.action_type);
  put_bool(w, "inversion", a.inversion);
  put_bool(w, "sound", a.sound);
  put_uint(w, "delay", a.delay);
  put_int(w, "floorOrnate", a.floor_ornate);
  put_int(w, "wallOrnate", a.wall_ornate);
  put_uint(w, "newDirection", a.new_direction);
  put_uint(w, "xCoord", a.x_coord);
  put_uint(w, "yCoord", a.y_coord);
}

void write_fields(json::Writer& w, const CreatureJson& c) {
  put_uint(w, "creatureType", c.creature_type);
  put_uint(w, "position", c.position);
  put_uint(w, "hp1", c.hp1);
  put_uint(w, "hp2", c.hp2);
  put_uint(w, "hp3", c.hp3);
  put_uint(w, "hp4", c.hp4);
}

void write_fields(json::Writer& w, const ItemJson& i) {
  put_uint(w, "itemType", i.item_type);
  put_bool(w, "important", i.important);
  put_uint(w, "charges", i.charges);
}

void write_fields(json::Writer& w, const ScrollJson& s) { put_uint(w, "referredText", s.referred_text); }

void write_fields(json::Writer& w, const PotionJson& p) {
  put_uint(w, "potionPower", p.potion_power);
  put_uint(w, "potionType", p.potion_type);
  put_bool(w, "visiblePower", p.visible_power);
}

void write_fields(json::Writer& w, const ContainerJson& c) {
  put_bool(w, "isOpened", c.is_opened);
  put_uint(w, "containerType", c.container_type);
  put_uint(w, "destX", c.dest_x);
  put_uint(w, "destY", c.dest_y);
  put_uint(w, "destMap", c.dest_map);
}

void write_fields(json::Writer&, const MissileJson&) {}
void write_fields(json::Writer&, const CloudJson&) {}

std::string_view type_name(const ItemJson& item) { return item.type_name; }
template <class Fields>
std::string_view type_name(const Fields&) {
  return Fields::kType;
}

void write_obj(json::Writer& w, const ObjVariant& obj) {
  w.begin_object();
  put_uint(w, "direction", obj.direction);
  put_int(w, "nextObjRef", obj.next_obj_ref);
  if (obj.holds_objects()) put_int(w, "childObjRef", obj.child_obj_ref);
  std::visit(
      [&w](const auto& fields) {
        put_string(w, "type", type_name(fields));
        write_fields(w, fields);
      },
      obj.fields);
  w.end_object();
}

void write_map(json::Writer& w, const MapJson& m) {
  w.begin_object();
  put_string(w, "tiles", m.tiles);
  w.key("tileObjRefs");
  w.int_array(std::span<const std::int32_t>(m.tile_obj_refs));
  put_bool(w, "useTeleporter", m.use_teleporter);
  put_bool(w, "useDoor0", m.use_door0);
  put_bool(w, "useDoor1", m.use_door1);
  put_bool(w, "useUpperPitfall", m.use_upper_pitfall);
  put_bool(w, "useLowerPitfall", m.use_lower_pitfall);
  put_bool(w, "useUpStaircase", m.use_up_staircase);
  put_bool(w, "useDownStaircase", m.use_down_staircase);
  put_uint(w, "shiftX", m.shift_x);
  put_uint(w, "shiftY", m.shift_y);
  put_uint(w, "height", m.height);
  put_uint(w, "width", m.width);
  put_uint(w, "level", m.level);
  put_uint(w, "difficulty", m.difficulty);
  put_uint(w, "mapGraphicsStyle", m.map_graphics_style);
  put_uint(w, "wallGraphicsRandomDecorations", m.wall_graphics_random_decorations);
  w.key("allowedCreatureTypes");
  w.uint_array(std::span<const std::uint8_t>(m.allowed_creature_types));
  w.end_object();
}

// A generous estimate of the text's size, so the output grows at most once
// or twice: per square two hex digits and one reference line, per object
// a dozen short members.
std::size_t estimated_size(const DungeonJson& document) {
  std::size_t size = 256 + document.objs.size() * 420;
  for (const MapJson& m : document.maps) size += 700 + m.tiles.size() + m.tile_obj_refs.size() * 14;
  return size;
}

// ---- maps -----------------------------------------------------------------------

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The descriptor's packed words as named properties; the tile grid and its
// references are filled by the walk.
MapJson map_properties(const Map& map, const MapBody& body) {
  const unsigned flags = map.flags_word;
  MapJson m;
  m.use_teleporter = bit(flags, 5);
  m.use_door0 = bit(flags, 7);
  m.use_door1 = bit(flags, 8);
  m.use_upper_pitfall = bit(flags, 0);
  m.use_lower_pitfall = bit(flags, 1);
  m.use_up_staircase = bit(flags, 3);
  m.use_down_staircase = bit(flags, 4);
  m.shift_x = map.shift_x;
  m.shift_y = map.shift_y;
  m.height = map.height();
  m.width = map.width();
  m.level = bits(map.map_size_word, 0, 5);
  m.difficulty = bits(map.w12, 12, 15);
  m.map_graphics_style = bits(map.w14, 4, 7);
  m.wall_graphics_random_decorations = bits(map.num_graphs_word, 4, 7);
  m.allowed_creature_types = body.allowed_creature_types;
  return m;
}

tl::expected<MapJson, VoprojectDumpError> build_map(const Dungeon& dungeon, std::size_t index, DfsWalker& walker) {
  const Map& map = dungeon.maps[index];
  const MapBody& body = dungeon.map_bodies[index];
  const unsigned width = map.width();
  const unsigned height = map.height();
  const std::size_t squares = std::size_t{width} * height;
  // The body was cut by this same descriptor, so this holds for any parsed
  // dungeon; a hand-built one that breaks it is a caller's bug.
  if (body.tiles.size() < squares) throw InternalFault("map body holds fewer tiles than its descriptor");

  MapJson m = map_properties(map, body);
  m.tile_obj_refs.assign(squares, -1);
  m.tiles.resize(2 * squares);
  char* hex = m.tiles.data();
  for (unsigned x = 0; x < width; ++x) {
    for (unsigned y = 0; y < height; ++y) {
      const std::size_t p = std::size_t{x} * height + y;
      const Tile t = body.tiles[p];
      hex[2 * p] = kHexDigits[t >> 4];
      hex[2 * p + 1] = kHexDigits[t & 0x0F];
      if (!tile_has_objects(t)) continue;
      const auto first = dungeon.first_object_on_tile(index, x, y);
      if (!first || !oid_is_reference(*first)) return tl::unexpected(DanglingTileObject{index, x, y});
      auto position = walker.visit(*first, index, t);
      if (!position) return tl::unexpected(std::move(position.error()));
      m.tile_obj_refs[p] = *position;
    }
  }
  return m;
}

}  // namespace

std::string VoprojectDumpError::message() const { return std::visit(Render{}, value_); }

// ---- DfsWalker --------------------------------------------------------------------

DfsWalker::DfsWalker(const Dungeon& dungeon) : dungeon_(dungeon) {}

std::size_t DfsWalker::record_count(unsigned category) const {
  // The lists of a parsed dungeon hold exactly the header's counts; the
  // list is what gets indexed, so its length is the bound.
  const ObjectTables& t = dungeon_.objects;
  switch (category) {
    case 0: return t.doors.size();
    case 1: return t.teleporters.size();
    case 2: return t.texts.size();
    case 3: return t.actuators.size();
    case 4: return t.creatures.size();
    case 5: return t.weapons.size();
    case 6: return t.clothes.size();
    case 7: return t.scrolls.size();
    case 8: return t.potions.size();
    case 9: return t.chests.size();
    case 10: return t.misc.size();
    case 14: return t.missiles.size();
    case 15: return t.clouds.size();
    default: return 0;  // types 11 to 13 have no records
  }
}

ObjVariant DfsWalker::decode(Oid oid, std::size_t map, Tile tile) const {
  const ObjectTables& t = dungeon_.objects;
  const unsigned i = oid_index(oid);
  ObjVariant obj;
  obj.direction = oid_position(oid);
  switch (oid_type(oid)) {
    case 0: obj.fields = decode_door(t.doors[i], dungeon_.maps[map], dungeon_.map_bodies[map]); break;
    case 1: obj.fields = decode_teleporter(t.teleporters[i]); break;
    case 2: obj.fields = decode_text(t.texts[i]); break;
    case 3: obj.fields = decode_actuator(t.actuators[i], tile); break;
    case 4: obj.fields = decode_creature(t.creatures[i]); break;
    case 5: obj.fields = decode_item("weapon", t.weapons[i].attributes, 10, 13); break;
    case 6: obj.fields = decode_item("cloth", t.clothes[i].attributes, 9, 12); break;
    case 7: obj.fields = decode_scroll(t.scrolls[i]); break;
    case 8: obj.fields = decode_potion(t.potions[i]); break;
    case 9: obj.fields = decode_container(t.chests[i]); break;
    case 10: obj.fields = decode_item("miscItem", t.misc[i].attributes, 8, 13); break;
    case 14: obj.fields = MissileJson{}; break;
    case 15: obj.fields = CloudJson{}; break;
    default: throw InternalFault("decode: a type without records was not refused");
  }
  return obj;
}

tl::expected<std::int32_t, VoprojectDumpError> DfsWalker::list_object(Oid oid, std::size_t map, Tile tile) {
  if (visited_.test(oid)) return tl::unexpected(CycleDetected{oid});
  visited_.set(oid);
  const unsigned category = oid_type(oid);
  const unsigned index = oid_index(oid);
  const std::size_t count = record_count(category);
  if (index >= count) return tl::unexpected(OidPastRecords{oid, category, index, count});
  objs_.push_back(decode(oid, map, tile));
  return static_cast<std::int32_t>(objs_.size() - 1);
}

tl::expected<std::int32_t, VoprojectDumpError> DfsWalker::visit(Oid oid, std::size_t map, Tile tile) {
  // Pre-order with a stack: an object's chain continuation is pushed before
  // what it holds, so everything it holds is listed first. An object's
  // position is known the moment it is listed, so its parent's reference is
  // filled then; a failure anywhere ends the export, so no half-filled
  // reference survives.
  const auto first = static_cast<std::int32_t>(objs_.size());
  stack_.clear();
  stack_.push_back({oid, -1, false});
  while (!stack_.empty()) {
    const Pending pending = stack_.back();
    stack_.pop_back();
    auto position = list_object(pending.oid, map, tile);
    if (!position) return position;
    if (pending.parent >= 0) {
      ObjVariant& parent = objs_[static_cast<std::size_t>(pending.parent)];
      (pending.as_child ? parent.child_obj_ref : parent.next_obj_ref) = *position;
    }
    const Links links = links_of(dungeon_.objects, oid_type(pending.oid), oid_index(pending.oid));
    if (oid_is_reference(links.next)) stack_.push_back({links.next, *position, false});
    if (oid_is_reference(links.child)) stack_.push_back({links.child, *position, true});
  }
  return first;
}

// ---- build and dump -----------------------------------------------------------------

tl::expected<DungeonJson, VoprojectDumpError> build(const Dungeon& dungeon) {
  DungeonJson document;
  const std::size_t n_maps = std::min(dungeon.maps.size(), dungeon.map_bodies.size());
  document.maps.reserve(n_maps);
  DfsWalker walker(dungeon);
  for (std::size_t i = 0; i < n_maps; ++i) {
    auto map = build_map(dungeon, i, walker);
    if (!map) return tl::unexpected(std::move(map.error()));
    document.maps.push_back(std::move(*map));
  }
  const unsigned start = dungeon.header.start_party_pos;
  document.random_graphics_seed = dungeon.header.random_seed;
  document.start_x = bits(start, 0, 4);
  document.start_y = bits(start, 5, 9);
  document.start_dir = bits(start, 10, 11);
  document.start_map = 0;
  document.objs = walker.take_objs();
  return document;
}

void write_voproject(const DungeonJson& document, codec::ByteBuffer& out) {
  out.reserve(out.size() + estimated_size(document));
  json::Writer w(out);
  w.begin_object();
  put_uint(w, "randomGraphicsSeed", document.random_graphics_seed);
  put_uint(w, "startX", document.start_x);
  put_uint(w, "startY", document.start_y);
  put_uint(w, "startDir", document.start_dir);
  put_uint(w, "startMap", document.start_map);
  w.key("maps");
  w.begin_array();
  for (const MapJson& m : document.maps) write_map(w, m);
  w.end_array();
  w.key("objs");
  w.begin_array();
  for (const ObjVariant& obj : document.objs) write_obj(w, obj);
  w.end_array();
  w.end_object();
}

tl::expected<codec::ByteBuffer, VoprojectDumpError> dump_dungeon(const Dungeon& dungeon) {
  auto document = build(dungeon);
  if (!document) return tl::unexpected(std::move(document.error()));
  codec::ByteBuffer out;
  write_voproject(*document, out);
  return out;
}

}  // namespace zarv::dungeon
