#include "graphics/image/image.hpp"

#include <spng.h>

#include <array>
#include <memory>

#include "codec/internal_fault.hpp"

namespace zarv::graphics {
namespace {

constexpr std::size_t kEntrySize = 4;

using Colours = std::array<std::array<std::uint8_t, 3>, 256>;

// 16 entries: colour k is entry k, whatever its index byte says.
void load_console_colours(std::span<const std::uint8_t> palette, Colours& colours) {
  for (std::size_t k = 0; k < 16; ++k) {
    const std::uint8_t* entry = palette.data() + kEntrySize * k;
    colours[k] = {entry[1], entry[2], entry[3]};
  }
}

// 256 entries: each entry names its index; a later entry for the same index
// wins, and indices no entry names stay black.
void load_pc_colours(std::span<const std::uint8_t> palette, Colours& colours) {
  for (std::size_t k = 0; k < 256; ++k) {
    const std::uint8_t* entry = palette.data() + kEntrySize * k;
    colours[entry[0]] = {entry[1], entry[2], entry[3]};
  }
}

void map_pixels(const Image& image, const Colours& colours, const std::array<std::uint8_t, 256>& lookup,
                std::uint8_t* out) {
  const std::uint8_t* pixels = image.pixels.data();
  const std::size_t count = image.pixels.size();
  for (std::size_t i = 0; i < count; ++i) {
    const auto& colour = colours[lookup[pixels[i]]];
    out[0] = colour[0];
    out[1] = colour[1];
    out[2] = colour[2];
    out += 3;
  }
}

struct SpngContextDeleter {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

int append_to_buffer(spng_ctx*, void* user, void* data, std::size_t length) {
  static_cast<codec::ByteBuffer*>(user)->append(data, length);
  return 0;
}

}  // namespace

tl::expected<codec::ByteBuffer, std::string> Image::to_rgb_buffer(std::span<const std::uint8_t> palette) const {
  const std::size_t entries = palette.size() / kEntrySize;
  Colours colours{};
  // lookup turns a pixel into a colour number, so both palette kinds (and
  // a local palette) share one mapping loop.
  std::array<std::uint8_t, 256> lookup{};
  if (entries == 16) {
    load_console_colours(palette, colours);
    for (std::size_t p = 0; p < 256; ++p) lookup[p] = static_cast<std::uint8_t>(p & 0x0F);
  } else if (entries == 256) {
    load_pc_colours(palette, colours);
    for (std::size_t p = 0; p < 256; ++p) {
      lookup[p] = local_palette ? (*local_palette)[p & 0x0F] : static_cast<std::uint8_t>(p);
    }
  } else {
    return tl::unexpected(std::string("palette must be 16 (console-family) or 256 (PC-family) entries"));
  }
  codec::ByteBuffer rgb;
  const std::size_t size = pixels.size() * 3;
  map_pixels(*this, colours, lookup, rgb.prepare(size));
  rgb.commit(size);
  return rgb;
}

codec::ByteBuffer encode_rgb_png(std::span<const std::uint8_t> rgb, std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) throw InternalFault("PNG cannot hold an empty image");
  if (rgb.size() != std::size_t{width} * height * 3) throw InternalFault("RGB buffer does not match the image size");
  std::unique_ptr<spng_ctx, SpngContextDeleter> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!ctx) throw std::bad_alloc();
  codec::ByteBuffer png;
  // Palette pictures deflate to a small part of their RGB size; a rare
  // larger one grows the buffer once or twice.
  png.reserve(rgb.size() / 4 + 1024);
  spng_ihdr ihdr{};
  ihdr.width = width;
  ihdr.height = height;
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  ihdr.interlace_method = SPNG_INTERLACE_NONE;
  int status = spng_set_png_stream(ctx.get(), append_to_buffer, &png);
  if (status == 0) status = spng_set_ihdr(ctx.get(), &ihdr);
  if (status == 0) status = spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_ALL);
  if (status == 0) {
    status = spng_encode_image(ctx.get(), rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
  }
  if (status != 0) throw InternalFault(std::string("PNG encoder failed: ") + spng_strerror(status));
  return png;
}

codec::ByteBuffer Image::to_png(std::span<const std::uint8_t> palette) const {
  auto rgb = to_rgb_buffer(palette);
  if (!rgb) throw InternalFault(rgb.error());
  return encode_rgb_png(rgb->bytes(), width, height);
}

}  // namespace zarv::graphics
