#include "samples/bytes.hpp"

namespace zarv::samples {

Bytes& Bytes::u8(std::uint8_t v) {
  data_.push_back(v);
  return *this;
}

Bytes& Bytes::u16(std::uint16_t v) { return order_ == Order::Little ? u8(v & 0xFF).u8(v >> 8) : u16be(v); }

Bytes& Bytes::u32(std::uint32_t v) {
  return order_ == Order::Little ? u16(static_cast<std::uint16_t>(v)).u16(static_cast<std::uint16_t>(v >> 16))
                                 : u32be(v);
}

Bytes& Bytes::u16be(std::uint16_t v) { return u8(v >> 8).u8(v & 0xFF); }

Bytes& Bytes::u32be(std::uint32_t v) {
  return u16be(static_cast<std::uint16_t>(v >> 16)).u16be(static_cast<std::uint16_t>(v));
}

Bytes& Bytes::raw(std::span<const std::uint8_t> bytes) {
  data_.insert(data_.end(), bytes.begin(), bytes.end());
  return *this;
}

Bytes& Bytes::text(std::string_view ascii) {
  data_.insert(data_.end(), ascii.begin(), ascii.end());
  return *this;
}

Bytes& Bytes::fill(std::size_t n, std::uint8_t v) {
  data_.insert(data_.end(), n, v);
  return *this;
}

void Bytes::patch_u16(std::size_t at, std::uint16_t v) {
  const bool little = order_ == Order::Little;
  data_.at(at) = static_cast<std::uint8_t>(little ? v : v >> 8);
  data_.at(at + 1) = static_cast<std::uint8_t>(little ? v >> 8 : v);
}

void Bytes::patch_u32(std::size_t at, std::uint32_t v) {
  const bool little = order_ == Order::Little;
  patch_u16(little ? at : at + 2, static_cast<std::uint16_t>(v));
  patch_u16(little ? at + 2 : at, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace zarv::samples
