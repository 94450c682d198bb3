#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "codec/record_error.hpp"

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
class Error {
 public:
  using Value = std::variant<codec::RecordError, Truncated, BadSignature, UnsupportedVersion, Ent1Truncated,
                             SizeMismatch, Ent1Layout>;

  template <class T>
    requires std::is_constructible_v<Value, T&&>
  Error(T&& value) : value_(std::forward<T>(value)) {}  // NOLINT: errors convert implicitly

  const Value& value() const { return value_; }
  template <class T>
  const T* get_if() const {
    return std::get_if<T>(&value_);
  }
  std::string message() const;

 private:
  Value value_;
};

}  // namespace zarv::graphics
