// Graphics: decode + PNG per image for every payload form on the largest
// images (1023 x 1023), in images per second; the decoders alone in MB/s of
// pixels beside memcpy of the same number of bytes; and our PNG step (palette
// mapping + encoding) beside libspng encoding the finished RGB buffer
// directly, so that the overhead of our own code shows as a ratio.
//
// Archive items other than the index are at most 65535 bytes long, so the
// large uncompressed forms cannot live in an archive: the payloads are
// decoded directly, as decode_image does once it has found the item. The
// whole export is measured on the sample archives.
#include <benchmark/benchmark.h>
#include <spng.h>

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "convert/operations.hpp"
#include "graphics/image/decoders/decoders.hpp"
#include "samples/graphics_samples.hpp"

namespace {

using zarv::graphics::Image;
using zarv::samples::Order;
using zarv::samples::Picture;

constexpr std::uint16_t kSide = 1023;

enum Form : int { C4towns, FmTownsU4, Body4, Bits4, Bits8, Lz77Mode2, Lz77Mode3, kForms };

const char* form_name(int form) {
  static const char* const kNames[] = {"C4towns",    "FmTownsU4",  "4-bit body", "Bits4",
                                       "Bits8",      "LZ77 mode 2", "LZ77 mode 3"};
  return kNames[form];
}

bool is_eight_bit(int form) { return form == Bits8 || form == Lz77Mode2 || form == Lz77Mode3; }

struct Sample {
  std::vector<std::uint8_t> payload;
  std::vector<std::uint8_t> palette;  // 64 or 1024 bytes
};

std::vector<std::uint8_t> palette_of(std::size_t entries) {
  std::vector<std::uint8_t> out;
  for (std::size_t k = 0; k < entries; ++k) {
    out.insert(out.end(), {static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(k * 7),
                           static_cast<std::uint8_t>(255 - k), static_cast<std::uint8_t>(k * 3)});
  }
  return out;
}

const Sample& sample(int form) {
  static std::map<int, Sample> samples;
  auto& s = samples[form];
  if (!s.payload.empty()) return s;
  const Picture picture = zarv::samples::large_picture(kSide, kSide, is_eight_bit(form));
  const zarv::samples::LocalPalette local{0, 17, 34, 51, 68, 85, 102, 119, 136, 153, 170, 187, 204, 221, 238, 255};
  switch (form) {
    case C4towns: s.payload = zarv::samples::encode_c4towns(picture, Order::Little); break;
    case FmTownsU4: s.payload = zarv::samples::encode_fm_towns_u4(picture, Order::Little); break;
    case Body4: s.payload = zarv::samples::encode_4bit_body(picture, Order::Little, nullptr, std::nullopt); break;
    case Bits4: s.payload = zarv::samples::encode_bits4(picture, Order::Little, local); break;
    case Bits8: s.payload = zarv::samples::encode_bits8(picture, Order::Little); break;
    case Lz77Mode2: s.payload = zarv::samples::encode_lz77(picture, Order::Little, 2); break;
    case Lz77Mode3: s.payload = zarv::samples::encode_lz77(picture, Order::Little, 3); break;
  }
  s.palette = palette_of(is_eight_bit(form) ? 256 : 16);
  return s;
}

Image decode(int form, const Sample& s) {
  const bool format4 = form == C4towns || form == FmTownsU4;
  auto image = format4 ? zarv::graphics::parse_format4(s.payload, false)
                       : zarv::graphics::parse_format5(s.payload, false, is_eight_bit(form), false);
  if (!image) throw std::runtime_error(image.error().message());
  return std::move(*image);
}

void label(benchmark::State& state, int form) {
  state.SetLabel(std::string(form_name(form)) + ", payload " + std::to_string(sample(form).payload.size()) +
                 " bytes");
}

// Decode + PNG per image.
void BM_DecodeToPng(benchmark::State& state) {
  const int form = static_cast<int>(state.range(0));
  const Sample& s = sample(form);
  for (auto _ : state) {
    Image image = decode(form, s);
    auto png = image.to_png(s.palette);
    benchmark::DoNotOptimize(png.data());
  }
  state.SetItemsProcessed(state.iterations());
  label(state, form);
}

// The decoders alone, in bytes of pixels produced.
void BM_Decode(benchmark::State& state) {
  const int form = static_cast<int>(state.range(0));
  const Sample& s = sample(form);
  for (auto _ : state) {
    Image image = decode(form, s);
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{kSide} * kSide);
  label(state, form);
}

// The floor: copying as many bytes as the decoders produce, into a fresh
// buffer each time as they do.
void BM_MemcpyPixels(benchmark::State& state) {
  const std::size_t n = std::size_t{kSide} * kSide;
  const std::vector<std::uint8_t> source(n, 7);
  for (auto _ : state) {
    zarv::codec::ByteBuffer out;
    std::memcpy(out.prepare(n), source.data(), n);
    out.commit(n);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

// Our PNG step: palette mapping and encoding, on a decoded image.
void BM_OurPngStep(benchmark::State& state) {
  const int form = static_cast<int>(state.range(0));
  const Sample& s = sample(form);
  const Image image = decode(form, s);
  for (auto _ : state) {
    auto png = image.to_png(s.palette);
    benchmark::DoNotOptimize(png.data());
  }
  state.SetItemsProcessed(state.iterations());
  label(state, form);
}

// The peer: libspng alone on the finished RGB buffer of the same image, with
// the same settings (8-bit RGB, adaptive filters, its default compression),
// into its own growing buffer.
void BM_SpngDirect(benchmark::State& state) {
  const int form = static_cast<int>(state.range(0));
  const Sample& s = sample(form);
  const Image image = decode(form, s);
  const auto rgb = image.to_rgb_buffer(s.palette).value();
  spng_ihdr ihdr{};
  ihdr.width = image.width;
  ihdr.height = image.height;
  ihdr.bit_depth = 8;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_set_ihdr(ctx, &ihdr);
    spng_set_option(ctx, SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_ALL);
    if (spng_encode_image(ctx, rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) {
      state.SkipWithError("libspng failed");
    }
    std::size_t len = 0;
    int error = 0;
    void* png = spng_get_png_buffer(ctx, &len, &error);
    benchmark::DoNotOptimize(png);
    std::free(png);
    spng_ctx_free(ctx);
  }
  state.SetItemsProcessed(state.iterations());
  label(state, form);
}

// The whole export path on every image of the demo's sample archives.
void BM_DecodePngExportOnSamples(benchmark::State& state) {
  const auto samples = zarv::samples::graphics_samples();
  std::size_t images = 0;
  for (auto _ : state) {
    images = 0;
    for (const auto& archive : samples) {
      for (const auto& image : archive.images) {
        auto png = zarv::convert::graphics_decode_png(archive.bytes, image.cls1, image.cls2, image.cls4);
        benchmark::DoNotOptimize(png);
        ++images;
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(images));
  state.SetLabel(std::to_string(images) + " images per iteration");
}

void all_forms(benchmark::internal::Benchmark* b) {
  for (int form = 0; form < kForms; ++form) b->Arg(form);
}

}  // namespace

BENCHMARK(BM_DecodeToPng)->Apply(all_forms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Decode)->Apply(all_forms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyPixels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OurPngStep)->Arg(Body4)->Arg(Bits8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpngDirect)->Arg(Body4)->Arg(Bits8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngExportOnSamples)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
