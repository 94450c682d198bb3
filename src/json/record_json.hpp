#pragma once
// The JSON form of declared records and standard types, derived from the
// types themselves:
//
//   integers        numbers, checked against the width when read (u8 0..255,
//                   i16 -32768..32767, ...); complaints name the width (u8,
//                   i16, ...)
//   bool            true / false
//   std::string     strings
//   std::vector<T>  arrays (integer elements take a fast path both ways;
//                   std::vector<std::uint8_t> is an array of numbers too)
//   std::array<T,N> arrays of exactly N elements ("invalid length ...")
//   std::optional<T> null or the value; an optional member may be absent
//   codec::ByteOrder "Little" or "Big"
//   records         objects whose keys are the field names of the
//                   ZARV_RECORD declaration, written in declaration order;
//                   read in any order, unknown keys skipped (still checked),
//                   a repeated key refused ("duplicate field `x`"), every
//                   non-optional field required ("missing field `x`")
//
// A type can have a JSON form of its own: declare, in the type's namespace,
//
//   void json_write(zarv::json::Writer& w, const T& value);
//   bool json_read(zarv::json::Reader& r, T& value);
//
// Argument-dependent lookup finds them, and they take precedence over the
// forms above wherever T appears (as a record field, a vector element, ...).
// json_read reads exactly one value and returns false after a failure it
// has recorded in the reader (Reader::fail* or any failed Reader call).
// Either function may be given alone; the other direction keeps the
// generic form.
#include <array>
#include <bitset>
#include <concepts>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <boost/mp11/algorithm.hpp>
#include <fmt/format.h>
#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "codec/byte_order.hpp"
#include "codec/record.hpp"
#include "json/error.hpp"
#include "json/reader.hpp"
#include "json/writer.hpp"

namespace zarv::json {

template <class T>
concept CustomJsonWrite = requires(Writer& w, const T& value) { json_write(w, value); };

template <class T>
concept CustomJsonRead = requires(Reader& r, T& value) {
  { json_read(r, value) } -> std::convertible_to<bool>;
};

namespace detail {

template <class T>
struct is_optional : std::false_type {};
template <class T>
struct is_optional<std::optional<T>> : std::true_type {};

template <class T>
struct is_vector : std::false_type {};
template <class T, class A>
struct is_vector<std::vector<T, A>> : std::true_type {};

template <class T>
inline constexpr bool always_false = false;

// Integers that JSON shows as numbers (characters and bool are not).
template <class T>
concept JsonInteger = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                      !std::same_as<T, wchar_t> && !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
                      !std::same_as<T, char32_t>;

template <class T>
using members = codec::record_members<T>;

template <class T>
inline constexpr std::size_t member_count = boost::mp11::mp_size<members<T>>::value;

template <class T>
constexpr std::array<std::string_view, member_count<T>> member_names() {
  std::array<std::string_view, member_count<T>> names{};
  std::size_t i = 0;
  boost::mp11::mp_for_each<members<T>>([&](auto member) { names[i++] = member.name; });
  return names;
}

// Members that may be absent from the object (the optional ones).
template <class T>
constexpr std::array<bool, member_count<T>> member_optional() {
  std::array<bool, member_count<T>> flags{};
  std::size_t i = 0;
  boost::mp11::mp_for_each<members<T>>([&](auto member) {
    using M = std::remove_cvref_t<decltype(std::declval<T&>().*member.pointer)>;
    flags[i++] = is_optional<M>::value;
  });
  return flags;
}

}  // namespace detail

template <class T>
void write_value(Writer& w, const T& value);
template <class T>
bool read_value(Reader& r, T& out);

namespace detail {

template <class T>
void write_record(Writer& w, const T& record) {
  w.begin_object();
  boost::mp11::mp_for_each<members<T>>([&](auto member) {
    w.key(member.name);
    write_value(w, record.*member.pointer);
  });
  w.end_object();
}

template <class T>
bool read_record(Reader& r, T& out) {
  constexpr std::size_t n = member_count<T>;
  static constexpr auto names = member_names<T>();
  static constexpr auto optional = member_optional<T>();
  static const std::string expected = fmt::format("struct {}", codec::record_info<T>().name);
  if (!r.begin_object(expected)) return false;
  std::bitset<n> seen;
  // Members usually come in declaration order: try the one after the last
  // match first.
  std::size_t hint = 0;
  std::string_view key;
  while (r.next_key(key)) {
    std::size_t index = n;
    if (hint < n && names[hint] == key) {
      index = hint;
    } else {
      for (std::size_t i = 0; i < n; ++i) {
        if (names[i] == key) {
          index = i;
          break;
        }
      }
    }
    if (index == n) {
      if (!r.skip_value()) return false;
      continue;
    }
    if constexpr (n > 0) {
      if (seen[index]) return r.fail_duplicate_field(names[index]);
      seen.set(index);
      hint = index + 1;
      const bool ok = boost::mp11::mp_with_index<n>(index, [&](auto i) {
        using Member = boost::mp11::mp_at_c<members<T>, decltype(i)::value>;
        return read_value(r, out.*Member::pointer);
      });
      if (!ok) return false;
    }
  }
  if (r.failed()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!seen[i] && !optional[i]) return r.fail_missing_field(names[i]);
  }
  // Absent optional members read as null.
  if constexpr (n > 0) {
    boost::mp11::mp_for_each<boost::mp11::mp_iota_c<n>>([&](auto i) {
      using Member = boost::mp11::mp_at_c<members<T>, decltype(i)::value>;
      if constexpr (is_optional<std::remove_cvref_t<decltype(out.*Member::pointer)>>::value) {
        if (!seen[i]) (out.*Member::pointer).reset();
      }
    });
  }
  return true;
}

template <class T, std::size_t N>
bool read_fixed_array(Reader& r, std::array<T, N>& out) {
  static const std::string expected = fmt::format("an array of length {}", N);
  if (!r.begin_array(expected)) return false;
  for (std::size_t i = 0; i < N; ++i) {
    if (!r.next_element()) return !r.failed() && r.fail_invalid_length(i, expected);
    if (!read_value(r, out[i])) return false;
  }
  return r.end_array();
}

}  // namespace detail

// Writes `value` as one JSON value.
template <class T>
void write_value(Writer& w, const T& value) {
  if constexpr (CustomJsonWrite<T>) {
    json_write(w, value);
  } else if constexpr (std::same_as<T, bool>) {
    w.bool_value(value);
  } else if constexpr (detail::JsonInteger<T>) {
    if constexpr (std::is_signed_v<T>) {
      w.int_value(value);
    } else {
      w.uint_value(value);
    }
  } else if constexpr (std::same_as<T, std::string> || std::same_as<T, std::string_view>) {
    w.string_value(value);
  } else if constexpr (std::same_as<T, codec::ByteOrder>) {
    w.string_value(codec::byte_order_name(value));
  } else if constexpr (detail::is_optional<T>::value) {
    if (value) {
      write_value(w, *value);
    } else {
      w.null_value();
    }
  } else if constexpr (detail::is_vector<T>::value || codec::is_std_array<T>::value) {
    using E = typename T::value_type;
    if constexpr (detail::JsonInteger<E> && !CustomJsonWrite<E>) {
      w.integer_array(std::span<const E>(value.data(), value.size()));
    } else {
      w.begin_array();
      for (const auto& element : value) write_value<E>(w, element);
      w.end_array();
    }
  } else if constexpr (codec::Record<T>) {
    detail::write_record(w, value);
  } else {
    static_assert(detail::always_false<T>, "this type has no JSON form: declare json_write/json_read for it");
  }
}

// Reads one JSON value into `out`. False after a failure, which the reader
// keeps (Reader::error()).
template <class T>
bool read_value(Reader& r, T& out) {
  if constexpr (CustomJsonRead<T>) {
    return json_read(r, out);
  } else if constexpr (std::same_as<T, bool>) {
    return r.read_bool(out);
  } else if constexpr (detail::JsonInteger<T>) {
    return r.read_integer(out);
  } else if constexpr (std::same_as<T, std::string>) {
    return r.read_string(out);
  } else if constexpr (std::same_as<T, codec::ByteOrder>) {
    static constexpr std::array<std::string_view, 2> names{"Little", "Big"};
    std::size_t index = 0;
    if (!r.read_variant(names, index)) return false;
    out = index == 0 ? codec::ByteOrder::Little : codec::ByteOrder::Big;
    return true;
  } else if constexpr (detail::is_optional<T>::value) {
    if (r.peek_null()) {
      out.reset();
      return r.read_null();
    }
    if (r.failed()) return false;
    typename T::value_type value{};
    if (!read_value(r, value)) return false;
    out = std::move(value);
    return true;
  } else if constexpr (detail::is_vector<T>::value) {
    using E = typename T::value_type;
    if constexpr (detail::JsonInteger<E> && !CustomJsonRead<E>) {
      return r.read_integer_array(out);
    } else {
      out.clear();
      if (!r.begin_array("a sequence")) return false;
      while (r.next_element()) {
        E element{};
        if (!read_value(r, element)) return false;
        out.push_back(std::move(element));
      }
      return !r.failed();
    }
  } else if constexpr (codec::is_std_array<T>::value) {
    return detail::read_fixed_array(r, out);
  } else if constexpr (codec::Record<T>) {
    return detail::read_record(r, out);
  } else {
    static_assert(detail::always_false<T>, "this type has no JSON form: declare json_write/json_read for it");
  }
}

// The whole document for `value` in the shared pretty style.
template <class T>
codec::ByteBuffer to_pretty_json(const T& value) {
  codec::ByteBuffer out;
  Writer w(out);
  write_value(w, value);
  return out;
}

// Reads a whole document: one value of type T and nothing but whitespace
// after it.
template <class T>
tl::expected<T, JsonError> from_json(std::string_view text) {
  Reader r(text);
  T value{};
  if (!read_value(r, value) || !r.finish()) return tl::unexpected(r.error());
  return value;
}

}  // namespace zarv::json
