#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "codec/variant_error.hpp"

namespace zarv::graphics {

// The three uncompressed payload forms, named in size complaints.
enum class PassthroughSubForm : std::uint8_t { Bits8, Bits4, FmTownsU4 };
std::string_view passthrough_form_name(PassthroughSubForm form);

namespace image_error {

struct Truncated {
  std::size_t needed = 0;
  std::size_t got = 0;
};
struct PassthroughSize {
  PassthroughSubForm form = PassthroughSubForm::Bits8;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::size_t payload_len = 0;
};
struct PassthroughBitDepth {
  std::uint16_t marker = 0;
};
struct CompressionMode {
  std::uint8_t mode = 0;
};
struct UnknownOpcode {
  std::uint8_t opcode = 0;
};
struct Lz77Distance {
  std::uint32_t distance = 0;
  std::size_t position = 0;
};
struct PixelCount {
  std::size_t decoded = 0;
  std::size_t expected = 0;
};
struct OverlayMismatch {
  std::uint16_t overlay_width = 0;
  std::uint16_t overlay_height = 0;
  std::uint16_t underlay_width = 0;
  std::uint16_t underlay_height = 0;
};

}  // namespace image_error

// A payload that does not decode; message() is the exact one-line text.
class ImageError
    : public codec::VariantError<image_error::Truncated, image_error::PassthroughSize, image_error::PassthroughBitDepth,
                                 image_error::CompressionMode, image_error::UnknownOpcode, image_error::Lz77Distance,
                                 image_error::PixelCount, image_error::OverlayMismatch> {
 public:
  using VariantError::VariantError;
  std::string message() const;
};

}  // namespace zarv::graphics
