#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "codec/record_error.hpp"
#include "codec/variant_error.hpp"

namespace zarv::graphics {

// The input ended before a structure it declares.
struct Truncated {
  std::size_t needed = 0;
  std::size_t got = 0;
};
// Neither first byte has its top bit set: not an archive signature.
struct BadSignature {
  std::uint16_t value = 0;  // bytes 0 and 1 read little-endian
};
struct UnsupportedVersion {
  std::uint16_t version = 0;
};
struct Ent1Truncated {
  std::uint32_t declared = 0;
  std::size_t available = 0;
};
struct SizeMismatch {
  std::size_t cumulative = 0;
  std::size_t file_size = 0;
};
// The index's record shape as (letter, width) pairs, when it is not the one
// fixed 8-byte shape the archive uses.
struct Ent1Layout {
  std::vector<std::pair<std::uint8_t, std::uint8_t>> layout;
};

// A failed graphics archive parse; message() is the exact one-line text
// (a record error keeps its own rendering).
class Error : public codec::VariantError<codec::RecordError, Truncated, BadSignature, UnsupportedVersion, Ent1Truncated,
                                         SizeMismatch, Ent1Layout> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

}  // namespace zarv::graphics
