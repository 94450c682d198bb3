#pragma once
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/image/decoders/header.hpp"

namespace zarv::graphics {

// The uncompressed forms, marked by Y-mark -32. Each checks that the
// payload is exactly as long as its size demands.
tl::expected<Image, ImageError> decode_fm_towns_u4(Payload payload, const ImageHeader& header);
tl::expected<Image, ImageError> decode_bits4(Payload payload, const ImageHeader& header);
tl::expected<Image, ImageError> decode_bits8(Payload payload, const ImageHeader& header);

}  // namespace zarv::graphics
