#pragma once
#include <cstddef>
#include <string>

namespace zarv::json {

// A failed JSON read. `description` says what went wrong ("trailing comma",
// "missing field `format`", "invalid type: string \"x\", expected u8", ...);
// line (from 1) and column (bytes consumed on that line) say where the reader
// stopped. The host sees message().
struct JsonError {
  std::string description;
  std::size_t line = 1;
  std::size_t column = 0;

  // "{description} at line {line} column {column}"
  std::string message() const;

  friend bool operator==(const JsonError&, const JsonError&) = default;
};

}  // namespace zarv::json
