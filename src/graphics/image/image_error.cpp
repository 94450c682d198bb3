#include "graphics/image/image_error.hpp"

#include <fmt/format.h>

namespace zarv::graphics {
namespace {

using namespace image_error;

struct Render {
  std::string operator()(const Truncated& e) const {
    return fmt::format("image payload truncated: needed {} bytes, got {}", e.needed, e.got);
  }
  std::string operator()(const PassthroughSize& e) const {
    return fmt::format("Y-mark = -32 passthrough size mismatch ({}): width={} height={} payload_len={}",
                       passthrough_form_name(e.form), e.width, e.height, e.payload_len);
  }
  std::string operator()(const PassthroughBitDepth& e) const {
    return fmt::format("Y-mark = -32 passthrough bit-depth marker 0x{:04x} is not 0x0004 or 0x0008", e.marker);
  }
  std::string operator()(const CompressionMode& e) const {
    return fmt::format("8-bit compression mode {} not yet supported (only modes 2 and 3 are)", e.mode);
  }
  std::string operator()(const UnknownOpcode& e) const {
    return fmt::format("FM-Towns C4towns unknown opcode 0x{:x} (only 0x0..0x9, 0xA..0xD, 0xF are defined)",
                       e.opcode);
  }
  std::string operator()(const Lz77Distance& e) const {
    return fmt::format("LZ77 back-reference distance {} exceeds output position {}", e.distance, e.position);
  }
  std::string operator()(const PixelCount& e) const {
    return fmt::format("decoded {} pixels but width \u00d7 height = {}", e.decoded, e.expected);
  }
  std::string operator()(const OverlayMismatch& e) const {
    return fmt::format(
        "overlay dimensions ({}, {}) don't match underlay ({}, {}); overlays must composite over a same-size base",
        e.overlay_width, e.overlay_height, e.underlay_width, e.underlay_height);
  }
};

}  // namespace

std::string_view passthrough_form_name(PassthroughSubForm form) {
  switch (form) {
    case PassthroughSubForm::Bits8:
      return "Bits8";
    case PassthroughSubForm::Bits4:
      return "Bits4";
    case PassthroughSubForm::FmTownsU4:
      return "FmTownsU4";
  }
  return "?";
}

std::string ImageError::message() const { return std::visit(Render{}, value_); }

}  // namespace zarv::graphics
