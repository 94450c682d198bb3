#include "samples/graphics_samples.hpp"

namespace zarv::samples {

std::vector<std::uint8_t> empty_graphics_archive(Order order, std::uint16_t format_version) {
  // The index item is always big-endian: magic 80 01, no entries, no type
  // headers (which means the fixed 8-byte entry shape).
  Bytes index(Order::Big);
  index.u8(0x80).u8(0x01).u16be(0).u16be(0);

  Bytes archive(order);
  archive.u16(static_cast<std::uint16_t>(0x8000 | format_version));
  archive.u16(1);  // one item: the index
  archive.u32(static_cast<std::uint32_t>(index.size()));
  archive.raw(index.data());
  return archive.take();
}

void write_graphics_samples(const SampleSink& sink) {
  sink("graphics-v5-le.dat", empty_graphics_archive(Order::Little, 5));
  sink("graphics-v4-be.dat", empty_graphics_archive(Order::Big, 4));
}

}  // namespace zarv::samples
