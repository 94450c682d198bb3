// The 8-bit LZ77 codec of archive format 5: a flag byte announces eight
// items, least significant bit first; a set bit is a literal byte, a clear
// bit a two-byte back-reference.
#include "graphics/image/decoders/decoders.hpp"

#include <cstring>

namespace zarv::graphics {
namespace {

// Appends `length` bytes copied from `distance` bytes back; a reference
// closer than its length repeats the bytes it has just written.
void copy_back(std::uint8_t* out, std::size_t at, std::size_t distance, std::size_t length) {
  std::uint8_t* to = out + at;
  const std::uint8_t* from = to - distance;
  if (distance >= length) {
    std::memcpy(to, from, length);
    return;
  }
  // Each pass doubles the repeated pattern, so the copy stays blockwise.
  std::size_t done = 0;
  std::size_t chunk = distance;
  while (done < length) {
    const std::size_t n = std::min(chunk, length - done);
    std::memcpy(to + done, from, n);
    done += n;
    chunk = done + distance;
  }
}

}  // namespace

tl::expected<codec::ByteBuffer, ImageError> decode_lz77(Payload data, std::size_t expected_len, unsigned shift) {
  // The output never grows beyond what the header promises: once more has
  // come out, only the count goes on (the result is a PixelCount error, but
  // a bad reference later in the stream still has to be reported first).
  codec::ByteBuffer out(expected_len);
  std::size_t produced = 0;
  const std::size_t n = data.size();
  const unsigned length_mask = (1u << shift) - 1;
  std::size_t i = 0;
  bool input_left = true;
  while (input_left && i < n) {
    const std::uint8_t flags = data[i++];
    for (unsigned bit = 0; bit < 8; ++bit) {
      if ((flags >> bit & 1) != 0) {
        if (i >= n) {
          input_left = false;
          break;
        }
        if (produced < expected_len) out[produced] = data[i];
        ++produced;
        ++i;
        continue;
      }
      if (n - i < 2) {
        input_left = false;
        break;
      }
      const std::uint8_t e = data[i];
      const std::uint8_t d = data[i + 1];
      i += 2;
      const std::uint32_t distance = std::uint32_t{d} << (8 - shift) | std::uint32_t{e} >> shift;
      const std::size_t length = (e & length_mask) + 3;
      if (distance == 0 || distance > produced) {
        return tl::unexpected(ImageError(image_error::Lz77Distance{distance, produced}));
      }
      if (produced <= expected_len && length <= expected_len - produced) {
        copy_back(out.data(), produced, distance, length);
      }
      produced += length;
    }
  }
  if (produced != expected_len) return tl::unexpected(ImageError(image_error::PixelCount{produced, expected_len}));
  return out;
}

}  // namespace zarv::graphics
