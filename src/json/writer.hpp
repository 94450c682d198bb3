#pragma once
// The pretty JSON writer shared by every document the library produces.
//
// Output style (fixed; hosts and tests compare bytes):
//   - two-space indentation, one member or array element per line;
//   - ": " between a key and its value;
//   - "{}" and "[]" for empty containers;
//   - no trailing newline;
//   - strings escape only \" \\ \b \t \n \f \r and, for the other bytes below
//     0x20, \u00xx with lower-case hex; everything else (valid UTF-8) is raw.
//
// Calls must nest properly: key() only directly inside an object, exactly one
// value after each key, end_*() matching begin_*(). A misuse is a bug in the
// caller and throws InternalFault; writing itself cannot fail (only
// std::bad_alloc can escape).
#include <algorithm>
#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "codec/byte_buffer.hpp"

namespace zarv::json {

class Writer {
 public:
  // Appends to `out`, which must outlive the writer.
  explicit Writer(codec::ByteBuffer& out);

  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The key of the next object member; its value follows with one value call.
  void key(std::string_view name);

  void uint_value(std::uint64_t value);
  void int_value(std::int64_t value);
  void bool_value(bool value);
  void null_value();
  void string_value(std::string_view utf8);
  // A string holding the standard Base64 form of `bytes` (with "=" padding),
  // written straight into the output.
  void base64_value(std::span<const std::uint8_t> bytes);

  // A whole array of integers, one element per line, in one pass: the fast
  // way to write word lists, tiles and byte lists.
  template <std::integral T>
  void integer_array(std::span<const T> values);
  template <std::unsigned_integral T>
  void uint_array(std::span<const T> values) { integer_array(values); }
  template <std::signed_integral T>
  void int_array(std::span<const T> values) { integer_array(values); }

  // Nesting depth of the container being written (0 at top level).
  std::size_t depth() const { return stack_.size(); }

 private:
  // Longest separator + indentation written before a value at the current
  // depth: ",\n" and two spaces per level.
  std::size_t prefix_capacity() const { return 2 + 2 * stack_.size(); }
  // Writes the separator and indentation that precede a value at p and
  // returns the end. The caller prepared prefix_capacity() bytes.
  std::uint8_t* write_value_prefix(std::uint8_t* p);
  void check_value_allowed();
  void open(char bracket);
  void close(char bracket);
  void write_escaped(std::string_view text);
  void ensure_indent(std::size_t depth);

  codec::ByteBuffer& out_;
  // '{' or '[' per open container.
  std::vector<char> stack_;
  // ",\n" then spaces; grown as nesting deepens, so a prefix of any depth is
  // one memcpy from here.
  std::string indent_;
  bool first_ = true;       // the innermost container has no element yet
  bool after_key_ = false;  // a key was written and waits for its value
  bool in_object_ = false;  // the innermost container is an object
};

template <std::integral T>
void Writer::integer_array(std::span<const T> values) {
  static_assert(!std::same_as<T, bool>, "booleans are not integers in JSON");
  check_value_allowed();
  // Opening bracket with its own prefix.
  std::uint8_t* p = out_.prepare(prefix_capacity() + 2);
  p = write_value_prefix(p);
  if (values.empty()) {
    p[0] = '[';
    p[1] = ']';
    out_.commit(static_cast<std::size_t>(p + 2 - out_.end()));
    return;
  }
  *p++ = '[';
  out_.commit(static_cast<std::size_t>(p - out_.end()));

  const std::size_t inner = stack_.size() + 1;
  ensure_indent(inner);
  // Separator ",\n" plus indentation; the first element skips the comma.
  const std::size_t sep_len = 2 + 2 * inner;
  const char* sep = indent_.data();
  // Widest decimal form of T, sign included.
  constexpr std::size_t digits_max = std::numeric_limits<T>::digits10 + 2;
  // Elements are written in blocks so that one prepare() covers many.
  constexpr std::size_t block = 4096;
  const std::size_t per_element = std::max<std::size_t>(sep_len, 32) + digits_max;
  std::size_t i = 0;
  bool first = true;
  while (i < values.size()) {
    const std::size_t n = std::min(block, values.size() - i);
    std::uint8_t* const start = out_.prepare(n * per_element);
    char* q = reinterpret_cast<char*>(start);
    const T* v = values.data() + i;
    std::size_t k = 0;
    if (first) {
      std::memcpy(q, sep + 1, sep_len - 1);
      q += sep_len - 1;
      q = std::to_chars(q, q + digits_max, v[0]).ptr;
      k = 1;
      first = false;
    }
    if (sep_len <= 32) {
      // A fixed-size copy compiles to a few moves; the bytes past the
      // separator are overwritten by the digits or lie beyond what is
      // committed.
      for (; k < n; ++k) {
        std::memcpy(q, sep, 32);
        q += sep_len;
        q = std::to_chars(q, q + digits_max, v[k]).ptr;
      }
    } else {
      for (; k < n; ++k) {
        std::memcpy(q, sep, sep_len);
        q += sep_len;
        q = std::to_chars(q, q + digits_max, v[k]).ptr;
      }
    }
    out_.commit(static_cast<std::size_t>(reinterpret_cast<std::uint8_t*>(q) - start));
    i += n;
  }
  // Closing line at the enclosing depth.
  const std::size_t close_len = 1 + 2 * stack_.size();
  p = out_.prepare(close_len + 1);
  std::memcpy(p, indent_.data() + 1, close_len);
  p[close_len] = ']';
  out_.commit(close_len + 1);
}

}  // namespace zarv::json
