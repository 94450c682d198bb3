#pragma once
// Fixed-layout records declared once. A record is a plain struct followed by
//
//   ZARV_RECORD(Door, next_oid, attributes)
//
// in the struct's namespace. The one declaration drives the binary reader and
// writer below (fields in declaration order, in a given byte order), the
// backtrace frames of failed reads, and the JSON form (json/record_json.hpp).
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include <boost/describe/class.hpp>
#include <boost/describe/members.hpp>
#include <boost/mp11/algorithm.hpp>
#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "codec/byte_cursor.hpp"
#include "codec/byte_order.hpp"
#include "codec/record_error.hpp"

namespace zarv::codec {

struct RecordInfo {
  std::string_view name;
  SourceLocation location;
};

#define ZARV_RECORD(Type, ...)                                                   \
  BOOST_DESCRIBE_STRUCT(Type, (), (__VA_ARGS__))                                 \
  [[maybe_unused]] constexpr ::zarv::codec::RecordInfo zarv_record_info(const Type*) { \
    return {#Type, {__FILE__, __LINE__}};                                        \
  }

// For records whose format fixes the byte order (the hunk executables).
#define ZARV_RECORD_BYTE_ORDER(Type, order) \
  [[maybe_unused]] constexpr ::zarv::codec::ByteOrder zarv_record_byte_order(const Type*) { return order; }

template <class T>
concept Record = requires(const T* p) {
  { zarv_record_info(p) } -> std::same_as<RecordInfo>;
};

template <class T>
concept FixedOrderRecord = Record<T> && requires(const T* p) {
  { zarv_record_byte_order(p) } -> std::same_as<ByteOrder>;
};

template <Record T>
constexpr RecordInfo record_info() {
  return zarv_record_info(static_cast<const T*>(nullptr));
}

template <class T>
using record_members = boost::describe::describe_members<T, boost::describe::mod_public>;

template <class T>
struct is_std_array : std::false_type {};
template <class T, std::size_t N>
struct is_std_array<std::array<T, N>> : std::true_type {};

// Size in bytes of a field type or a whole record.
template <class T>
constexpr std::size_t binary_size() {
  if constexpr (FieldInt<T>) {
    return sizeof(T);
  } else if constexpr (is_std_array<T>::value) {
    return std::tuple_size_v<T> * binary_size<typename T::value_type>();
  } else {
    static_assert(Record<T>, "not a fixed-layout field type");
    std::size_t total = 0;
    boost::mp11::mp_for_each<record_members<T>>(
        [&](auto member) { total += binary_size<std::remove_cvref_t<decltype(std::declval<T&>().*member.pointer)>>(); });
    return total;
  }
}

namespace detail {

// Decodes a field whose bytes are known to be present.
template <class T>
void decode_unchecked(const std::uint8_t*& p, T& out, ByteOrder order) {
  if constexpr (FieldInt<T>) {
    out = load<T>(p, order);
    p += sizeof(T);
  } else if constexpr (is_std_array<T>::value) {
    for (auto& element : out) decode_unchecked(p, element, order);
  } else {
    boost::mp11::mp_for_each<record_members<T>>(
        [&](auto member) { decode_unchecked(p, out.*member.pointer, order); });
  }
}

template <class T>
std::optional<RecordError> decode_checked(ByteCursor& cursor, T& out, ByteOrder order);

// The slow path, taken only when the record does not fit: reads field by
// field to find the one that ran out and names it in the frames.
template <Record T>
std::optional<RecordError> decode_record_checked(ByteCursor& cursor, T& out, ByteOrder order) {
  constexpr RecordInfo info = record_info<T>();
  std::optional<RecordError> failure;
  boost::mp11::mp_for_each<record_members<T>>([&](auto member) {
    if (failure) return;
    if (auto error = decode_checked(cursor, out.*member.pointer, order)) {
      failure = std::move(*error).in_field(member.name, info.name, info.location);
    }
  });
  return failure;
}

template <class T>
std::optional<RecordError> decode_checked(ByteCursor& cursor, T& out, ByteOrder order) {
  if constexpr (FieldInt<T>) {
    auto v = cursor.read<T>(order);
    if (!v) return std::move(v.error());
    out = *v;
    return std::nullopt;
  } else if constexpr (is_std_array<T>::value) {
    for (auto& element : out) {
      if (auto error = decode_checked(cursor, element, order)) return error;
    }
    return std::nullopt;
  } else {
    return decode_record_checked(cursor, out, order);
  }
}

template <class T>
void encode(std::uint8_t*& p, const T& value, ByteOrder order) {
  if constexpr (FieldInt<T>) {
    store<T>(p, value, order);
    p += sizeof(T);
  } else if constexpr (is_std_array<T>::value) {
    for (const auto& element : value) encode(p, element, order);
  } else {
    boost::mp11::mp_for_each<record_members<T>>([&](auto member) { encode(p, value.*member.pointer, order); });
  }
}

}  // namespace detail

// Reads one record at the cursor in `order` and advances past it. On failure
// the error names every field level that was being read.
template <Record T>
tl::expected<T, RecordError> read_record(ByteCursor& cursor, ByteOrder order) {
  T out{};
  constexpr std::size_t size = binary_size<T>();
  if (cursor.remaining() >= size) {
    const std::uint8_t* p = cursor.here();
    detail::decode_unchecked(p, out, order);
    cursor.skip_unchecked(size);
    return out;
  }
  if (auto error = detail::decode_record_checked(cursor, out, order)) return tl::unexpected(std::move(*error));
  return out;  // unreachable in practice: a short input always fails a field
}

template <FixedOrderRecord T>
tl::expected<T, RecordError> read_record(ByteCursor& cursor) {
  return read_record<T>(cursor, zarv_record_byte_order(static_cast<const T*>(nullptr)));
}

// Reads one record from the start of `bytes`.
template <Record T>
tl::expected<T, RecordError> read_record(std::span<const std::uint8_t> bytes, ByteOrder order) {
  ByteCursor cursor(bytes);
  return read_record<T>(cursor, order);
}

// Appends the record's bytes in `order`.
template <Record T>
void write_record(ByteBuffer& out, const T& record, ByteOrder order) {
  constexpr std::size_t size = binary_size<T>();
  std::uint8_t* p = out.prepare(size);
  detail::encode(p, record, order);
  out.commit(size);
}

template <Record T>
ByteBuffer to_bytes_with_endian(const T& record, ByteOrder order) {
  ByteBuffer out;
  out.reserve(binary_size<T>());
  write_record(out, record, order);
  return out;
}

template <FixedOrderRecord T>
ByteBuffer to_bytes(const T& record) {
  return to_bytes_with_endian(record, zarv_record_byte_order(static_cast<const T*>(nullptr)));
}

}  // namespace zarv::codec
