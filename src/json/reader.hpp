#pragma once
// A pull reader over JSON text, driven by the code that knows the schema
// (see record_json.hpp for the generic driver).
//
// Every call returns true on success. A false return means either the end of
// a container (next_key, next_element) or a failure; failed() tells them
// apart. The first failure is kept in the reader (error()) and every later
// call returns false at once, so a caller can simply propagate `false`.
//
// Positions. An error reports where the reader stopped: the line counted from
// 1 and the column as the number of bytes consumed on that line. A fault seen
// by looking at the next byte counts that byte; a fault found after a token (a
// string, a number, a closing bracket) counts the whole token. Values that
// have the wrong type are reported after the offending scalar, or after the
// opening bracket of an offending array or object.
//
// Typical use, reading {"a": [1, 2], "b": "x"}:
//
//   if (!r.begin_object("struct Thing")) return false;
//   std::string_view key;
//   while (r.next_key(key)) {
//     if (key == "a") { ... r.begin_array("a sequence"); while (r.next_element()) r.read_integer(v) ... }
//     else if (key == "b") { if (!r.read_string(thing.b)) return false; }
//     else if (!r.skip_value()) return false;
//   }
//   if (r.failed()) return false;
//   ...
//   r.finish();  // only whitespace may follow the top-level value
//
// The text must outlive the reader; string views handed out stay valid until
// the next call. Strings are checked to be valid UTF-8 ("invalid unicode code
// point" otherwise), so bytes from a host can be read as they are.
#include <array>
#include <bit>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "json/error.hpp"

namespace zarv::json {

// The name under which a reader complains about an integer of this width,
// as in "invalid value: integer `256`, expected u8".
template <std::integral T>
constexpr std::string_view integer_type_name() {
  if constexpr (std::is_signed_v<T>) {
    if constexpr (sizeof(T) == 1) return "i8";
    else if constexpr (sizeof(T) == 2) return "i16";
    else if constexpr (sizeof(T) == 4) return "i32";
    else return "i64";
  } else {
    if constexpr (sizeof(T) == 1) return "u8";
    else if constexpr (sizeof(T) == 2) return "u16";
    else if constexpr (sizeof(T) == 4) return "u32";
    else return "u64";
  }
}

namespace detail {

// Skips JSON whitespace from p. Pretty-printed text puts a run of spaces after
// every line break, so those runs are stepped over eight bytes at a time.
inline const char* skip_whitespace(const char* p, const char* end) {
  while (p < end) {
    const char c = *p;
    if (c == ' ' || c == '\t' || c == '\r') {
      ++p;
      continue;
    }
    if (c != '\n') return p;
    ++p;
    while (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      const std::uint64_t not_space = w ^ 0x2020202020202020ull;
      if (not_space != 0) {
        if constexpr (std::endian::native == std::endian::little) {
          p += std::countr_zero(not_space) / 8;
        } else {
          p += std::countl_zero(not_space) / 8;
        }
        break;
      }
      p += 8;
    }
  }
  return p;
}

// Number of leading ASCII digits in the eight bytes of w (first byte in the
// low bits). Bytes are XORed with '0' so digits become 0..9; adding 0x76 sets
// the top bit of every other byte. A carry out of a non-digit byte only
// disturbs later bytes, which do not count.
inline unsigned leading_digits(std::uint64_t w) {
  const std::uint64_t x = w ^ 0x3030303030303030ull;
  const std::uint64_t non_digit = ((x + 0x7676767676767676ull) | x) & 0x8080808080808080ull;
  return non_digit == 0 ? 8 : static_cast<unsigned>(std::countr_zero(non_digit)) / 8;
}

// The value of the first n (1..7) ASCII digits of w: shifting them to the top
// fills the front with zero digits, then pairs, quads and octets combine.
inline std::uint64_t digits_value(std::uint64_t w, unsigned n) {
  std::uint64_t v = (w << (8 * (8 - n))) & 0x0F0F0F0F0F0F0F0Full;
  v = (v * 2561) >> 8;
  v = ((v & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
  return ((v & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32;
}

}  // namespace detail

class Reader {
 public:
  // The nesting limit: the container that would open the 128th level is
  // refused ("recursion limit exceeded"), as the JSON libraries whose
  // messages these are count it, in skipped values too, so hostile input
  // cannot exhaust anything. At most max_depth - 1 containers are open.
  static constexpr std::size_t max_depth = 128;

  explicit Reader(std::string_view text);

  bool failed() const { return error_.has_value(); }
  // The first failure; only valid when failed().
  const JsonError& error() const { return *error_; }
  // Byte offset of the read position.
  std::size_t offset() const { return pos_; }

  // ---- Containers ----

  // Enters an object. Anything else fails as "invalid type: ..., expected
  // {expected}" (for example expected "struct FileHeader").
  bool begin_object(std::string_view expected);
  // Reads the next member's key. False at the closing brace (consumed) or on
  // failure. The key view is decoded (escapes resolved). The member's value
  // must be read or skipped next; the ':' is checked by that call.
  bool next_key(std::string_view& key);

  // Enters an array (expected as for begin_object, e.g. "a sequence").
  bool begin_array(std::string_view expected);
  // True when another element follows (the caller reads it next). False at
  // the closing bracket (consumed) or on failure.
  bool next_element();
  // For arrays of a fixed length: after the wanted elements, expects the
  // closing bracket; more elements fail as "trailing characters" (or
  // "trailing comma" for a comma before the bracket).
  bool end_array();

  // ---- Scalars ----

  // Reads an integer that must fit T: a value out of T's range fails as
  // "invalid value: integer `N`, expected u8", a fraction or exponent as
  // "invalid type: floating point `1.5`, expected u8".
  template <std::integral T>
  bool read_integer(T& out);
  // Reads an array of integers straight into `out` (replacing its content):
  // the fast path for word lists and byte lists.
  template <std::integral T>
  bool read_integer_array(std::vector<T>& out);

  bool read_bool(bool& out);
  // Reads a string into `out`, or (view form) gives a view that lives until
  // the next call. `expected` names the wanted value in a type complaint.
  bool read_string(std::string& out, std::string_view expected = "a string");
  bool read_string_view(std::string_view& out, std::string_view expected = "a string");
  // Reads one of `names` as a string and gives its index; another string
  // fails as "unknown variant `x`, expected `A` or `B`". The form
  // {"A": null} is accepted too.
  // Any other kind of value fails as "expected value".
  bool read_variant(std::span<const std::string_view> names, std::size_t& index);
  // True when the next value is null (not consumed; read_null consumes it).
  bool peek_null();
  bool read_null();
  // Skips one value of any kind, still checking its syntax.
  bool skip_value();
  // After the top-level value: only whitespace may follow.
  bool finish();

  // ---- Failures raised by the schema side ----
  // Each records the failure at the current position and returns false.

  // A description of the caller's own.
  bool fail(std::string description);
  // "invalid type: {found}, expected {expected}", where found describes the
  // next value (which is consumed when it is a scalar).
  bool fail_invalid_type(std::string_view expected);
  bool fail_invalid_length(std::size_t length, std::string_view expected);
  bool fail_missing_field(std::string_view name);
  bool fail_duplicate_field(std::string_view name);

 private:
  enum class NumberKind : std::uint8_t { Unsigned, Signed, Float };
  struct Number {
    NumberKind kind = NumberKind::Unsigned;
    std::uint64_t u = 0;  // Unsigned
    std::int64_t i = 0;   // Signed (always negative)
    double f = 0;         // Float
  };

  bool at_end() const { return pos_ == text_.size(); }
  unsigned char byte_at(std::size_t i) const { return static_cast<unsigned char>(text_[i]); }
  void skip_whitespace();
  // Records a failure that stops at byte offset `stop`.
  bool fail_at(std::size_t stop, std::string description);
  // A failure found by looking at the next byte: that byte counts.
  bool fail_peek(std::string description);
  // Checks the ':' after a key when one is pending, skips whitespace and
  // gives the first byte of the value; at the end of the text fails with
  // "EOF while parsing a value".
  bool value_start(unsigned char& c);
  bool enter(char bracket);
  bool parse_ident(std::string_view rest);
  // At a '-' or digit: reads the number. Integers that fit 64 bits keep
  // their exact value; "-0", longer integers, fractions and exponents become
  // floating-point values ("number out of range" when infinite).
  bool parse_number(Number& out);
  // The same syntax check for a skipped number; its value is not formed, so
  // it cannot be out of range, and a missing digit is an "invalid number".
  bool skip_number();
  // After the opening quote: reads the string, decoding escapes into
  // scratch_ when there are any.
  bool parse_string(std::string_view& out);
  bool skip_string();
  bool parse_escape(std::string& out);
  bool parse_hex4(std::uint16_t& out);
  bool read_unsigned(std::uint64_t max, std::uint64_t& out, std::string_view expected);
  bool read_signed(std::int64_t min, std::int64_t max, std::int64_t& out, std::string_view expected);
  bool fail_number_type(const Number& n, std::string_view expected);

  template <std::integral T>
  bool read_integer_array_fast(std::vector<T>& out);

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t depth_ = 0;
  // Per depth: no element has been read yet in the container.
  std::array<bool, max_depth + 1> first_{};
  // Per depth, for skipped values: the container is an object.
  std::array<bool, max_depth + 1> object_{};
  bool colon_pending_ = false;
  std::string scratch_;
  std::optional<JsonError> error_;
};

template <std::integral T>
bool Reader::read_integer(T& out) {
  static_assert(!std::same_as<T, bool>, "read_bool reads booleans");
  constexpr std::string_view expected = integer_type_name<T>();
  if constexpr (std::is_signed_v<T>) {
    std::int64_t v;
    if (!read_signed(std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v, expected)) return false;
    out = static_cast<T>(v);
  } else {
    std::uint64_t v;
    if (!read_unsigned(std::numeric_limits<T>::max(), v, expected)) return false;
    out = static_cast<T>(v);
  }
  return true;
}

template <std::integral T>
bool Reader::read_integer_array(std::vector<T>& out) {
  out.clear();
  if (!begin_array("a sequence")) return false;
  return read_integer_array_fast(out);
}

// Reads the elements of an entered array. Plain decimal integers separated
// the usual way are parsed in a tight loop; anything else (a sign where
// none fits, a fraction, a value out of range, a syntax fault) is handed to
// the general calls from the same position, so errors read exactly as they
// would element by element.
template <std::integral T>
bool Reader::read_integer_array_fast(std::vector<T>& out) {
  const char* const base = text_.data();
  const char* const end = base + text_.size();
  for (;;) {
    const char* p = base + pos_;
    bool first = first_[depth_];
    for (;;) {
      const char* q = detail::skip_whitespace(p, end);
      if (q < end && *q == ']') {
        pos_ = static_cast<std::size_t>(q + 1 - base);
        --depth_;
        return true;
      }
      if (!first) {
        if (q >= end || *q != ',') break;
        q = detail::skip_whitespace(q + 1, end);
      }
      bool negative = false;
      if constexpr (std::is_signed_v<T>) {
        if (q < end && *q == '-') {
          negative = true;
          ++q;
        }
      }
      // At most 18 digits, which cannot overflow; a longer number stops at
      // a digit below and takes the general path.
      const char* const digits = q;
      std::uint64_t v = 0;
      if constexpr (std::endian::native == std::endian::little) {
        // Up to seven digits (all of a u8 or u16) without a branch per digit.
        if (end - q >= 8) {
          std::uint64_t w;
          std::memcpy(&w, q, 8);
          const unsigned n = detail::leading_digits(w);
          if (n > 0 && n < 8) {
            v = detail::digits_value(w, n);
            q += n;
          }
        }
      }
      const char* const limit = end - q > 18 ? q + 18 : end;
      while (q < limit) {
        const unsigned d = static_cast<unsigned char>(*q) - unsigned{'0'};
        if (d > 9) break;
        v = v * 10 + d;
        ++q;
      }
      if (q == digits || (*digits == '0' && q - digits > 1)) break;
      if (q < end) {
        const char c = *q;
        if (c == '.' || c == 'e' || c == 'E' || (c >= '0' && c <= '9')) break;
      }
      if constexpr (std::is_signed_v<T>) {
        // "-0" is a floating-point value in JSON's number model; the general
        // path says so.
        if (negative) {
          if (v == 0 || v > static_cast<std::uint64_t>(std::numeric_limits<T>::max()) + 1) break;
          out.push_back(static_cast<T>(-static_cast<std::int64_t>(v)));
        } else {
          if (v > static_cast<std::uint64_t>(std::numeric_limits<T>::max())) break;
          out.push_back(static_cast<T>(v));
        }
      } else {
        if (v > std::numeric_limits<T>::max()) break;
        out.push_back(static_cast<T>(v));
      }
      first = false;
      p = q;
    }
    pos_ = static_cast<std::size_t>(p - base);
    first_[depth_] = first;
    // One element the general way, then back to the loop above.
    if (!next_element()) return !failed();
    T value;
    if (!read_integer(value)) return false;
    out.push_back(value);
  }
}

}  // namespace zarv::json
