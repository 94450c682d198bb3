#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "codec/record_error.hpp"
#include "codec/variant_error.hpp"

namespace zarv::ovn {

// The file does not start with the container's two magic bytes (or a code
// payload handed to the nibble decoder lacks its own magic).
struct BadMagic {};
// A hunk's payload range reaches past the end of the file.
struct HunkOutOfBounds {
  std::size_t index = 0;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
  std::size_t file_len = 0;
};
// The module has no hunk of the type a lookup needs.
struct NoHunk {
  std::uint16_t hunk_type = 0;
};
struct PayloadTooShort {
  std::size_t need = 0;
  std::size_t have = 0;
};
// The compressed code asked for a nibble past the end of its stream.
struct NibbleStreamEnded {};
struct DecompressedSize {
  std::size_t expected = 0;
  std::size_t got = 0;
};

// A failed hunk-executable read; message() is the exact one-line text (a
// record error keeps its own rendering, backtrace included).
class Error : public codec::VariantError<codec::RecordError, BadMagic, HunkOutOfBounds, NoHunk, PayloadTooShort,
                                         NibbleStreamEnded, DecompressedSize> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

}  // namespace zarv::ovn
