// The FM-Towns nibble codec of archive format 4. Each step is a command
// nibble and a colour nibble, sometimes followed by a count and literals;
// every step takes an even number of nibbles, so commands sit in the high
// half of a byte.
#include "graphics/image/decoders/decoders.hpp"
#include "graphics/image/decoders/nibbles.hpp"
#include "graphics/image/decoders/row_model.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kStreamStart = 8;  // after the 4-byte header
constexpr std::size_t kSkipLength = 11;
constexpr std::uint8_t kUnassignedCommand = 0xE;

// A literal run of n pixels: an odd run starts with the step's colour and
// the rest are literal nibbles; an even run is all literals. Returns false,
// emitting nothing, when the literals run past the payload.
bool literal_run(Nibbles& in, RowWriter& out, std::size_t n, std::uint8_t colour) {
  const bool odd = (n & 1) != 0;
  const std::size_t literals = odd ? n - 1 : n;
  if (!in.available(literals)) return false;
  if (odd) out.fill(1, colour);
  for (std::size_t i = 0; i < literals; ++i) out.fill(1, in.next());
  return true;
}

// Runs one step; false when its nibbles run past the payload (decoding
// ends and keeps what was emitted before).
tl::expected<bool, ImageError> run_step(Nibbles& in, RowWriter& out) {
  if (!in.available(2)) return false;
  const std::uint8_t command = in.next();
  const std::uint8_t colour = in.next();
  switch (command) {
    case 0x8:
    case 0x9:
    case 0xB: {
      if (!in.available(2)) return false;
      const std::size_t count = in.next_value(2) + 1;
      if (command == 0x8) out.fill(count, colour);
      if (command == 0x9) return literal_run(in, out, count, colour);
      if (command == 0xB) {
        out.copy_from_row_above(count);
        out.fill(1, colour);
      }
      return true;
    }
    case 0xA:
      out.skip(kSkipLength);
      return true;
    case 0xC:
    case 0xD:
    case 0xF: {
      if (!in.available(4)) return false;
      const std::size_t count = std::size_t{in.next_value(4)} + 1;
      if (command == 0xC) out.fill(count, colour);
      if (command == 0xD) return literal_run(in, out, count, colour);
      if (command == 0xF) {
        out.copy_from_row_above(count);
        out.fill(1, colour);
      }
      return true;
    }
    case kUnassignedCommand:
      return tl::unexpected(ImageError(image_error::UnknownOpcode{command}));
    default:  // 0 to 7: a short run
      out.fill(std::size_t{command} + 1, colour);
      return true;
  }
}

}  // namespace

tl::expected<Image, ImageError> decode_c4towns(Payload payload, std::uint16_t width, std::uint16_t height) {
  const std::size_t stride = (std::size_t{width} + 1) & ~std::size_t{1};
  codec::ByteBuffer buffer(stride * height);
  RowWriter out(buffer.data(), buffer.size(), width, stride);
  Nibbles in(payload, kStreamStart);
  while (!out.full()) {
    auto stepped = run_step(in, out);
    if (!stepped) return tl::unexpected(std::move(stepped.error()));
    if (!*stepped) break;
  }
  Image image;
  image.pixels = strip_row_padding(std::move(buffer), width, stride, height);
  image.width = width;
  image.height = height;
  return image;
}

codec::ByteBuffer strip_row_padding(codec::ByteBuffer&& buffer, std::size_t width, std::size_t stride,
                                    std::size_t height) {
  if (stride == width) return std::move(buffer);
  codec::ByteBuffer out;
  out.reserve(width * height);
  for (std::size_t row = 0; row < height; ++row) out.append(buffer.data() + row * stride, width);
  return out;
}

}  // namespace zarv::graphics
