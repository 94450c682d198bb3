#include "graphics/error.hpp"

#include <fmt/format.h>

namespace zarv::graphics {
namespace {

struct Render {
  std::string operator()(const codec::RecordError& e) const { return e.message(); }
  std::string operator()(const Truncated& e) const {
    return fmt::format("input ended before {} bytes were available (got {})", e.needed, e.got);
  }
  std::string operator()(const BadSignature& e) const {
    return fmt::format("unrecognized graphics.dat signature: 0x{:04x}", e.value);
  }
  std::string operator()(const UnsupportedVersion& e) const {
    return fmt::format("unsupported graphics.dat version: {} (only formats 4 and 5 are currently supported)",
                       e.version);
  }
  std::string operator()(const Ent1Truncated& e) const {
    return fmt::format("ENT1 declares {} bytes but only {} are available", e.declared, e.available);
  }
  std::string operator()(const SizeMismatch& e) const {
    return fmt::format("entry sizes cumulative {} != file size {}", e.cumulative, e.file_size);
  }
  std::string operator()(const Ent1Layout& e) const {
    std::string pairs;
    for (const auto& [letter, width] : e.layout) {
      if (!pairs.empty()) pairs += ", ";
      pairs += fmt::format("({}, {})", letter, width);
    }
    return fmt::format(
        "ENT1 field layout [{}] differs from the expected T1 I1 D1 S1 F1 G1 P2 (the hardcoded 8-byte record shape)",
        pairs);
  }
};

}  // namespace

std::string Error::message() const { return std::visit(Render{}, value_); }

}  // namespace zarv::graphics
