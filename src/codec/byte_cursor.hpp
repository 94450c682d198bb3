#pragma once
#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_order.hpp"
#include "codec/record_error.hpp"

namespace zarv::codec {

// Plain integer field types of fixed-layout records (bool and characters are
// not field types).
template <class T>
concept FieldInt = std::integral<T> && !std::same_as<T, bool> && (sizeof(T) == 1 || sizeof(T) == 2 ||
                                                                   sizeof(T) == 4 || sizeof(T) == 8);

template <FieldInt T>
constexpr T byteswap(T value) {
  using U = std::make_unsigned_t<T>;
  auto u = static_cast<U>(value);
  if constexpr (sizeof(T) == 1) {
    return value;
  } else if constexpr (sizeof(T) == 2) {
    return static_cast<T>(__builtin_bswap16(u));
  } else if constexpr (sizeof(T) == 4) {
    return static_cast<T>(__builtin_bswap32(u));
  } else {
    return static_cast<T>(__builtin_bswap64(u));
  }
}

constexpr bool host_is_little() { return std::endian::native == std::endian::little; }

// Loads an integer stored in `order` at p (no bounds check: callers check).
template <FieldInt T>
T load(const std::uint8_t* p, ByteOrder order) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  const bool stored_little = order == ByteOrder::Little;
  return stored_little == host_is_little() ? v : byteswap(v);
}

// Stores an integer in `order` at p (no bounds check: callers check).
template <FieldInt T>
void store(std::uint8_t* p, T value, ByteOrder order) {
  const bool stored_little = order == ByteOrder::Little;
  T v = stored_little == host_is_little() ? value : byteswap(value);
  std::memcpy(p, &v, sizeof(T));
}

// A read position over a borrowed byte slice. Every read checks the bounds
// first and fails with the record codec's end-of-input error.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const std::uint8_t> bytes, std::size_t position = 0)
      : bytes_(bytes), pos_(position <= bytes.size() ? position : bytes.size()) {}

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  std::span<const std::uint8_t> bytes() const { return bytes_; }
  const std::uint8_t* here() const { return bytes_.data() + pos_; }
  void skip_unchecked(std::size_t n) { pos_ += n; }

  template <FieldInt T>
  tl::expected<T, RecordError> read(ByteOrder order) {
    if (remaining() < sizeof(T)) return tl::unexpected(RecordError::end_of_input());
    T v = load<T>(here(), order);
    pos_ += sizeof(T);
    return v;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
};

// Bounds-checked view of bytes[offset, offset + size), written so that the
// check itself cannot overflow.
inline bool fits(std::size_t length, std::size_t offset, std::size_t size) {
  return offset <= length && size <= length - offset;
}

}  // namespace zarv::codec
