#include "dungeon/error.hpp"

#include <fmt/format.h>

namespace zarv::dungeon {
namespace {

std::string truncated(std::string_view section, std::size_t end, std::size_t length) {
  return fmt::format("dungeon.dat truncated: {} ends at {} but file is {} bytes", section, end, length);
}

struct Render {
  std::string operator()(const codec::RecordError& e) const { return e.message(); }
  std::string operator()(const ColumnsTruncated& e) const { return truncated("columns array", e.end, e.length); }
  std::string operator()(const ObjectListTruncated& e) const { return truncated("object list", e.end, e.length); }
  std::string operator()(const TextTruncated& e) const { return truncated("text data section", e.end, e.length); }
  std::string operator()(const RecordsTruncated& e) const {
    return truncated("per-type records block", e.end, e.length);
  }
  std::string operator()(const BodyTooShort& e) const {
    return fmt::format("map {}: body needs {} bytes at map_offset={} but only {} remain in the tile-data block",
                       e.map_index, e.needed, e.map_offset, e.available);
  }
};

}  // namespace

std::string Error::message() const { return std::visit(Render{}, value_); }

}  // namespace zarv::dungeon
