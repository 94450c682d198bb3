#include "music/error.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>

namespace zarv::music {
namespace {

// Byte lists are shown as decimal values: "[77, 84, 104, 100]".
template <std::size_t N>
std::string byte_list(const std::array<std::uint8_t, N>& bytes) {
  return fmt::format("[{}]", fmt::join(bytes, ", "));
}

struct RenderMessage {
  std::string operator()(const Truncated& e) const {
    return fmt::format("input ended before {} bytes were available (got {})", e.needed, e.got);
  }
  std::string operator()(const UnrecognizedFormat&) const { return "unrecognized music container format"; }
  std::string operator()(const OutOfRange& e) const {
    return fmt::format("offset 0x{:x} ({}) is outside the {}-byte input", e.offset, e.what, e.len);
  }
  std::string operator()(const SndFormat& e) const {
    return fmt::format("unsupported 'snd ' format: {} (only format 2 is decoded)", e.format);
  }
  std::string operator()(const SndEncoding& e) const {
    return fmt::format("unsupported 'snd ' encoding: 0x{:02x} (only stdSH / 0x00 is decoded)", e.encoding);
  }
  std::string operator()(const SndNoSoundCommand&) const { return "'snd ' resource has no soundCmd or bufferCmd"; }
  std::string operator()(const AppleDoubleVersion& e) const {
    return fmt::format("AppleDouble version is 0x{:08x}, not the expected 0x00020000 (v2)", e.version);
  }
  std::string operator()(const AppleDoubleNoResourceFork&) const {
    return "AppleDouble wrapper carries no resource fork (no entry id = 2)";
  }
  std::string operator()(const MacBinaryForkTooLarge& e) const {
    return fmt::format(
        "MacBinary header matched but its declared {}-byte resource fork does not fit the {}-byte input",
        e.declared, e.input);
  }
  std::string operator()(const HmpSignature& e) const {
    return fmt::format("HMP signature mismatch: expected HMIMIDIP, got {}", byte_list(e.bytes));
  }
  std::string operator()(const HmpVersion& e) const {
    return fmt::format("HMP version marker is {}, only 013195 is supported", byte_list(e.bytes));
  }
  std::string operator()(const HmpUnknownStatus& e) const {
    return fmt::format("HMP track {} has unknown status byte 0x{:02x} at offset 0x{:x}", e.track, e.status,
                       e.offset);
  }
  std::string operator()(const HmpDeltaUnterminated& e) const {
    return fmt::format("HMP track {} delta-time at offset 0x{:x} did not terminate within {} bytes", e.track,
                       e.offset, e.limit);
  }
  std::string operator()(const P41Invalid& e) const { return "Player 4.1A structure invalid: " + e.reason; }
  std::string operator()(const Render& e) const { return e.message; }
  std::string operator()(const UnexpectedFormat& e) const {
    return fmt::format("unexpected music format for this operation: {}", display_name(e.format));
  }
};

}  // namespace

std::string Error::message() const { return std::visit(RenderMessage{}, value_); }

}  // namespace zarv::music
