#include "json/writer.hpp"

#include <algorithm>
#include <array>

#include "codec/internal_fault.hpp"
#include "json/base64.hpp"

namespace zarv::json {

namespace {

// Bytes that cannot appear raw inside a JSON string: the quote, the
// backslash and everything below 0x20.
constexpr std::array<bool, 256> make_needs_escape() {
  std::array<bool, 256> table{};
  for (int c = 0; c < 0x20; ++c) table[c] = true;
  table['"'] = true;
  table['\\'] = true;
  return table;
}
constexpr std::array<bool, 256> needs_escape = make_needs_escape();

// The escape of one byte for which needs_escape holds; returns its length.
std::size_t escape_byte(unsigned char c, char* out) {
  static constexpr char hex[] = "0123456789abcdef";
  out[0] = '\\';
  switch (c) {
    case '"': out[1] = '"'; return 2;
    case '\\': out[1] = '\\'; return 2;
    case '\b': out[1] = 'b'; return 2;
    case '\t': out[1] = 't'; return 2;
    case '\n': out[1] = 'n'; return 2;
    case '\f': out[1] = 'f'; return 2;
    case '\r': out[1] = 'r'; return 2;
    default:
      out[1] = 'u';
      out[2] = '0';
      out[3] = '0';
      out[4] = hex[c >> 4];
      out[5] = hex[c & 15];
      return 6;
  }
}

}  // namespace

Writer::Writer(codec::ByteBuffer& out) : out_(out) { ensure_indent(8); }

void Writer::ensure_indent(std::size_t depth) {
  // A little slack beyond the deepest level keeps this off the common path.
  const std::size_t needed = 2 + 2 * depth;
  if (indent_.size() >= needed) return;
  // At least 32 bytes: integer_array copies separators in fixed 32-byte moves.
  indent_.assign(std::max<std::size_t>(needed + 16, 48), ' ');
  indent_[0] = ',';
  indent_[1] = '\n';
}

void Writer::check_value_allowed() {
  if (in_object_ && !after_key_) throw InternalFault("json writer: value inside an object without a key");
}

std::uint8_t* Writer::write_value_prefix(std::uint8_t* p) {
  if (after_key_) {
    after_key_ = false;
    return p;
  }
  if (stack_.empty()) return p;
  const std::size_t len = 1 + 2 * stack_.size();
  const char* src = indent_.data() + 1;
  if (!first_) {
    *p++ = ',';
  }
  first_ = false;
  std::memcpy(p, src, len);
  return p + len;
}

void Writer::open(char bracket) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 1);
  std::uint8_t* p = write_value_prefix(start);
  *p++ = static_cast<std::uint8_t>(bracket);
  out_.commit(static_cast<std::size_t>(p - start));
  stack_.push_back(bracket);
  ensure_indent(stack_.size() + 1);
  first_ = true;
  in_object_ = bracket == '{';
}

void Writer::close(char bracket) {
  const char opening = bracket == '}' ? '{' : '[';
  if (stack_.empty() || stack_.back() != opening) throw InternalFault("json writer: unbalanced container");
  if (after_key_) throw InternalFault("json writer: key without a value");
  stack_.pop_back();
  if (first_) {
    // Nothing was written inside: "{}" or "[]".
    out_.push_back(static_cast<std::uint8_t>(bracket));
  } else {
    const std::size_t len = 1 + 2 * stack_.size();
    std::uint8_t* p = out_.prepare(len + 1);
    std::memcpy(p, indent_.data() + 1, len);
    p[len] = static_cast<std::uint8_t>(bracket);
    out_.commit(len + 1);
  }
  // The closed container was an element of its parent, so the parent is not
  // empty any more.
  first_ = false;
  in_object_ = !stack_.empty() && stack_.back() == '{';
}

void Writer::begin_object() { open('{'); }
void Writer::end_object() { close('}'); }
void Writer::begin_array() { open('['); }
void Writer::end_array() { close(']'); }

void Writer::key(std::string_view name) {
  if (!in_object_ || after_key_) throw InternalFault("json writer: key outside an object");
  std::uint8_t* start = out_.prepare(prefix_capacity() + 1);
  std::uint8_t* p = write_value_prefix(start);
  *p++ = '"';
  out_.commit(static_cast<std::size_t>(p - start));
  write_escaped(name);
  out_.append(std::string_view("\": "));
  after_key_ = true;
}

void Writer::uint_value(std::uint64_t value) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 20);
  char* p = reinterpret_cast<char*>(write_value_prefix(start));
  p = std::to_chars(p, p + 20, value).ptr;
  out_.commit(static_cast<std::size_t>(reinterpret_cast<std::uint8_t*>(p) - start));
}

void Writer::int_value(std::int64_t value) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 20);
  char* p = reinterpret_cast<char*>(write_value_prefix(start));
  p = std::to_chars(p, p + 20, value).ptr;
  out_.commit(static_cast<std::size_t>(reinterpret_cast<std::uint8_t*>(p) - start));
}

void Writer::bool_value(bool value) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 5);
  std::uint8_t* p = write_value_prefix(start);
  const std::string_view text = value ? "true" : "false";
  std::memcpy(p, text.data(), text.size());
  out_.commit(static_cast<std::size_t>(p - start) + text.size());
}

void Writer::null_value() {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 4);
  std::uint8_t* p = write_value_prefix(start);
  std::memcpy(p, "null", 4);
  out_.commit(static_cast<std::size_t>(p - start) + 4);
}

void Writer::string_value(std::string_view utf8) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 1);
  std::uint8_t* p = write_value_prefix(start);
  *p++ = '"';
  out_.commit(static_cast<std::size_t>(p - start));
  write_escaped(utf8);
  out_.push_back('"');
}

void Writer::base64_value(std::span<const std::uint8_t> bytes) {
  check_value_allowed();
  std::uint8_t* start = out_.prepare(prefix_capacity() + 1);
  std::uint8_t* p = write_value_prefix(start);
  *p++ = '"';
  out_.commit(static_cast<std::size_t>(p - start));
  base64_encode_to(out_, bytes);
  out_.push_back('"');
}

void Writer::write_escaped(std::string_view text) {
  // Copy runs of plain bytes in one piece; most strings have no escape at all.
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t run_start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!needs_escape[s[i]]) continue;
    out_.append(s + run_start, i - run_start);
    char escaped[6];
    const std::size_t len = escape_byte(s[i], escaped);
    out_.append(escaped, len);
    run_start = i + 1;
  }
  out_.append(s + run_start, n - run_start);
}

}  // namespace zarv::json
