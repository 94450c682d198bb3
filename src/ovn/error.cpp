#include "ovn/error.hpp"

#include <fmt/format.h>

namespace zarv::ovn {
namespace {

struct Render {
  std::string operator()(const codec::RecordError& e) const { return e.message(); }
  std::string operator()(const BadMagic&) const { return "bad magic: not an OVN structure"; }
  std::string operator()(const HunkOutOfBounds& e) const {
    return fmt::format("hunk {}: bytes {}..{} outside file of {} bytes", e.index, e.start, e.end, e.file_len);
  }
  std::string operator()(const NoHunk& e) const { return fmt::format("no hunk of type 0x{:04x} in module", e.hunk_type); }
  std::string operator()(const PayloadTooShort& e) const {
    return fmt::format("hunk payload too short: need {} bytes, have {}", e.need, e.have);
  }
  std::string operator()(const NibbleStreamEnded&) const { return "nibble stream ended early"; }
  std::string operator()(const DecompressedSize& e) const {
    return fmt::format("decompressed size mismatch: expected {}, got {}", e.expected, e.got);
  }
};

}  // namespace

std::string Error::message() const { return std::visit(Render{}, value_); }

}  // namespace zarv::ovn
