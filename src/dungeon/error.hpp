#pragma once
#include <cstddef>
#include <string>
#include <utility>
#include <variant>

#include "codec/record_error.hpp"
#include "codec/variant_error.hpp"

namespace zarv::dungeon {

// A section of the file ends past the end of the input.
struct ColumnsTruncated {
  std::size_t end = 0;
  std::size_t length = 0;
};
struct ObjectListTruncated {
  std::size_t end = 0;
  std::size_t length = 0;
};
struct TextTruncated {
  std::size_t end = 0;
  std::size_t length = 0;
};
struct RecordsTruncated {
  std::size_t end = 0;
  std::size_t length = 0;
};
// A map's body does not fit between its offset and the end of the tile data.
struct BodyTooShort {
  std::size_t map_index = 0;
  std::size_t needed = 0;
  std::size_t map_offset = 0;
  std::size_t available = 0;
};

// A failed dungeon parse; message() is the exact one-line text.
class Error : public codec::VariantError<codec::RecordError, ColumnsTruncated, ObjectListTruncated, TextTruncated,
                                         RecordsTruncated, BodyTooShort> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

}  // namespace zarv::dungeon
