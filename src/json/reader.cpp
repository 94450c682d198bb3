#include "json/reader.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <fmt/format.h>

namespace zarv::json {

std::string JsonError::message() const { return fmt::format("{} at line {} column {}", description, line, column); }

namespace {

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

int hex_value(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::uint64_t ones = 0x0101010101010101ull;
constexpr std::uint64_t highs = 0x8080808080808080ull;

// Non-zero when one of the eight bytes of w ends a plain run inside a string:
// a quote, a backslash or a control character.
std::uint64_t string_specials(std::uint64_t w) {
  auto has_zero = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
  const std::uint64_t quote = has_zero(w ^ (ones * '"'));
  const std::uint64_t backslash = has_zero(w ^ (ones * '\\'));
  const std::uint64_t control = (w - ones * 0x20) & ~w & highs;
  return quote | backslash | control;
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool valid_utf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    std::size_t len;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - p) < len) return false;
    if (p[1] < lo || p[1] > hi) return false;
    for (std::size_t k = 2; k < len; ++k) {
      if (p[k] < 0x80 || p[k] > 0xBF) return false;
    }
    p += len;
  }
  return true;
}

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// A string quoted for a message: in double quotes, with quotes, backslashes
// and control characters escaped so the message stays on one line.
std::string quote_for_message(std::string_view s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      case '\0': out += "\\0"; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      out += fmt::format("\\u{{{:x}}}", c);
    } else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xA0) {
      // U+0080..U+009F, the second block of control characters.
      out += fmt::format("\\u{{{:x}}}", static_cast<unsigned char>(s[i + 1]));
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
  return out;
}

// A floating-point value the way error messages show it: the shortest digits
// that read back to the same value, never in exponent form, and always with
// a decimal point ("1.5", "1.0", "-0.0", "18446744073709552000.0").
std::string format_float(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  std::string_view sci(buf, static_cast<std::size_t>(result.ptr - buf));
  std::string out;
  if (!sci.empty() && sci[0] == '-') {
    out.push_back('-');
    sci.remove_prefix(1);
  }
  const std::size_t e_at = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e_at)) {
    if (c != '.') digits.push_back(c);
  }
  int exponent = 0;
  const std::string_view exp_text = sci.substr(e_at + 1);
  std::from_chars(exp_text.data() + (exp_text[0] == '+' ? 1 : 0), exp_text.data() + exp_text.size(), exponent);
  // The decimal point sits after `point` digits.
  const long point = static_cast<long>(exponent) + 1;
  const auto n = static_cast<long>(digits.size());
  if (point <= 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-point), '0');
    out += digits;
  } else if (point >= n) {
    out += digits;
    out.append(static_cast<std::size_t>(point - n), '0');
    out += ".0";
  } else {
    out += digits.substr(0, static_cast<std::size_t>(point));
    out.push_back('.');
    out += digits.substr(static_cast<std::size_t>(point));
  }
  return out;
}

std::string describe_one_of(std::span<const std::string_view> names) {
  if (names.size() == 1) return fmt::format("`{}`", names[0]);
  if (names.size() == 2) return fmt::format("`{}` or `{}`", names[0], names[1]);
  std::string out = "one of ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += ", ";
    out += fmt::format("`{}`", names[i]);
  }
  return out;
}

}  // namespace

Reader::Reader(std::string_view text) : text_(text) {}

// ---- Failures ----

bool Reader::fail_at(std::size_t stop, std::string description) {
  if (error_) return false;
  std::size_t line = 1;
  std::size_t line_start = 0;
  const char* p = text_.data();
  const char* end = p + stop;
  // An empty text has no data pointer to search.
  while (p != end) {
    const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    if (nl == nullptr) break;
    ++line;
    p = static_cast<const char*>(nl) + 1;
    line_start = static_cast<std::size_t>(p - text_.data());
  }
  error_ = JsonError{std::move(description), line, stop - line_start};
  return false;
}

bool Reader::fail_peek(std::string description) {
  return fail_at(std::min(text_.size(), pos_ + 1), std::move(description));
}

bool Reader::fail(std::string description) { return fail_at(pos_, std::move(description)); }

bool Reader::fail_invalid_length(std::size_t length, std::string_view expected) {
  return fail(fmt::format("invalid length {}, expected {}", length, expected));
}

bool Reader::fail_missing_field(std::string_view name) { return fail(fmt::format("missing field `{}`", name)); }

bool Reader::fail_duplicate_field(std::string_view name) { return fail(fmt::format("duplicate field `{}`", name)); }

bool Reader::fail_number_type(const Number& n, std::string_view expected) {
  switch (n.kind) {
    case NumberKind::Unsigned: return fail(fmt::format("invalid value: integer `{}`, expected {}", n.u, expected));
    case NumberKind::Signed: return fail(fmt::format("invalid value: integer `{}`, expected {}", n.i, expected));
    case NumberKind::Float: break;
  }
  return fail(fmt::format("invalid type: floating point `{}`, expected {}", format_float(n.f), expected));
}

bool Reader::fail_invalid_type(std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  std::string found;
  switch (c) {
    case 'n':
      ++pos_;
      if (!parse_ident("ull")) return false;
      found = "null";
      break;
    case 't':
      ++pos_;
      if (!parse_ident("rue")) return false;
      found = "boolean `true`";
      break;
    case 'f':
      ++pos_;
      if (!parse_ident("alse")) return false;
      found = "boolean `false`";
      break;
    case '"': {
      ++pos_;
      std::string_view s;
      if (!parse_string(s)) return false;
      found = "string " + quote_for_message(s);
      break;
    }
    // A container is recognised by looking at its bracket, which therefore
    // counts as read; the rest of the container is not examined.
    case '[': return fail_peek(fmt::format("invalid type: sequence, expected {}", expected));
    case '{': return fail_peek(fmt::format("invalid type: map, expected {}", expected));
    default:
      if (c == '-' || is_digit(c)) {
        Number n;
        if (!parse_number(n)) return false;
        switch (n.kind) {
          case NumberKind::Unsigned: found = fmt::format("integer `{}`", n.u); break;
          case NumberKind::Signed: found = fmt::format("integer `{}`", n.i); break;
          case NumberKind::Float: found = fmt::format("floating point `{}`", format_float(n.f)); break;
        }
        break;
      }
      return fail_peek("expected value");
  }
  return fail(fmt::format("invalid type: {}, expected {}", found, expected));
}

// ---- Lexing helpers ----

void Reader::skip_whitespace() {
  pos_ = static_cast<std::size_t>(detail::skip_whitespace(text_.data() + pos_, text_.data() + text_.size()) - text_.data());
}

bool Reader::value_start(unsigned char& c) {
  if (error_) return false;
  if (colon_pending_) {
    colon_pending_ = false;
    skip_whitespace();
    if (at_end()) return fail_peek("EOF while parsing an object");
    if (text_[pos_] != ':') return fail_peek("expected `:`");
    ++pos_;
  }
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing a value");
  c = byte_at(pos_);
  return true;
}

bool Reader::enter(char bracket) {
  if (depth_ + 1 == max_depth) return fail_peek("recursion limit exceeded");
  ++pos_;
  ++depth_;
  first_[depth_] = true;
  object_[depth_] = bracket == '{';
  return true;
}

bool Reader::parse_ident(std::string_view rest) {
  for (char expected : rest) {
    if (at_end()) return fail_at(pos_, "EOF while parsing a value");
    const char c = text_[pos_++];
    if (c != expected) return fail_at(pos_, "expected ident");
  }
  return true;
}

bool Reader::parse_number(Number& out) {
  const std::size_t start = pos_;
  const bool negative = text_[pos_] == '-';
  if (negative) ++pos_;
  if (at_end()) return fail_at(pos_, "EOF while parsing a value");
  const unsigned char first = byte_at(pos_++);
  std::uint64_t significand = 0;
  bool overflow = false;
  if (first == '0') {
    // Only one leading zero.
    if (!at_end() && is_digit(byte_at(pos_))) return fail_peek("invalid number");
  } else if (first >= '1' && first <= '9') {
    significand = first - '0';
    while (!at_end() && is_digit(byte_at(pos_))) {
      const unsigned d = byte_at(pos_) - unsigned{'0'};
      if (significand > (std::numeric_limits<std::uint64_t>::max() - d) / 10) overflow = true;
      if (!overflow) significand = significand * 10 + d;
      ++pos_;
    }
  } else {
    return fail_at(pos_, "invalid number");
  }
  // Too many digits for 64 bits makes a floating-point value, as does a
  // fraction or an exponent.
  bool is_float = overflow;
  if (!at_end() && text_[pos_] == '.') {
    ++pos_;
    const std::size_t digits = pos_;
    while (!at_end() && is_digit(byte_at(pos_))) ++pos_;
    if (pos_ == digits) return fail_peek(at_end() ? "EOF while parsing a value" : "invalid number");
    is_float = true;
  }
  if (!at_end() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
    ++pos_;
    if (!at_end() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
    if (at_end()) return fail_at(pos_, "EOF while parsing a value");
    if (!is_digit(byte_at(pos_++))) return fail_at(pos_, "invalid number");
    while (!at_end() && is_digit(byte_at(pos_))) ++pos_;
    is_float = true;
  }
  if (!is_float) {
    if (!negative) {
      out.kind = NumberKind::Unsigned;
      out.u = significand;
      return true;
    }
    constexpr std::uint64_t min_magnitude = std::uint64_t{1} << 63;
    if (significand != 0 && significand <= min_magnitude) {
      out.kind = NumberKind::Signed;
      out.i = significand == min_magnitude ? std::numeric_limits<std::int64_t>::min()
                                           : -static_cast<std::int64_t>(significand);
      return true;
    }
    // "-0" and negatives beyond 64 bits are floating-point values.
  }
  out.kind = NumberKind::Float;
  const char* first_char = text_.data() + start;
  const char* last_char = text_.data() + pos_;
  const auto result = std::from_chars(first_char, last_char, out.f);
  if (result.ec == std::errc::result_out_of_range) {
    // Either too large (an error) or too small (rounds to zero). strtod
    // tells them apart; this is the rare path, so the copy does not matter.
    const std::string copy(first_char, last_char);
    out.f = std::strtod(copy.c_str(), nullptr);
  }
  if (std::isinf(out.f)) return fail("number out of range");
  return true;
}

bool Reader::skip_number() {
  if (text_[pos_] == '-') ++pos_;
  if (at_end()) return fail_at(pos_, "invalid number");
  const unsigned char first = byte_at(pos_++);
  if (first == '0') {
    if (!at_end() && is_digit(byte_at(pos_))) return fail_peek("invalid number");
  } else if (first >= '1' && first <= '9') {
    while (!at_end() && is_digit(byte_at(pos_))) ++pos_;
  } else {
    return fail_at(pos_, "invalid number");
  }
  if (!at_end() && text_[pos_] == '.') {
    ++pos_;
    const std::size_t digits = pos_;
    while (!at_end() && is_digit(byte_at(pos_))) ++pos_;
    if (pos_ == digits) return fail_peek("invalid number");
  }
  if (!at_end() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
    ++pos_;
    if (!at_end() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
    if (at_end()) return fail_at(pos_, "invalid number");
    if (!is_digit(byte_at(pos_++))) return fail_at(pos_, "invalid number");
    while (!at_end() && is_digit(byte_at(pos_))) ++pos_;
  }
  return true;
}

bool Reader::parse_hex4(std::uint16_t& out) {
  if (text_.size() - pos_ < 4) {
    pos_ = text_.size();
    return fail_at(pos_, "EOF while parsing a string");
  }
  unsigned value = 0;
  for (int k = 0; k < 4; ++k) {
    const int digit = hex_value(byte_at(pos_++));
    if (digit < 0) return fail_at(pos_, "invalid escape");
    value = (value << 4) | static_cast<unsigned>(digit);
  }
  out = static_cast<std::uint16_t>(value);
  return true;
}

bool Reader::parse_escape(std::string& out) {
  if (at_end()) return fail_at(pos_, "EOF while parsing a string");
  const char c = text_[pos_++];
  switch (c) {
    case '"': out.push_back('"'); return true;
    case '\\': out.push_back('\\'); return true;
    case '/': out.push_back('/'); return true;
    case 'b': out.push_back('\b'); return true;
    case 'f': out.push_back('\f'); return true;
    case 'n': out.push_back('\n'); return true;
    case 'r': out.push_back('\r'); return true;
    case 't': out.push_back('\t'); return true;
    case 'u': break;
    default: return fail_at(pos_, "invalid escape");
  }
  std::uint16_t unit;
  if (!parse_hex4(unit)) return false;
  if (unit >= 0xDC00 && unit <= 0xDFFF) return fail_at(pos_, "lone leading surrogate in hex escape");
  if (unit < 0xD800 || unit > 0xDBFF) {
    append_utf8(out, unit);
    return true;
  }
  // A leading surrogate must be followed by an escaped trailing one.
  if (at_end()) return fail_at(pos_, "EOF while parsing a string");
  if (text_[pos_++] != '\\') return fail_at(pos_, "unexpected end of hex escape");
  if (at_end()) return fail_at(pos_, "EOF while parsing a string");
  if (text_[pos_++] != 'u') return fail_at(pos_, "unexpected end of hex escape");
  std::uint16_t trail;
  if (!parse_hex4(trail)) return false;
  if (trail < 0xDC00 || trail > 0xDFFF) return fail_at(pos_, "lone leading surrogate in hex escape");
  append_utf8(out, 0x10000 + ((std::uint32_t{unit} - 0xD800) << 10) + (std::uint32_t{trail} - 0xDC00));
  return true;
}

bool Reader::parse_string(std::string_view& out) {
  const std::size_t start = pos_;
  const std::size_t size = text_.size();
  std::uint64_t high_bits = 0;
  bool escaped = false;
  std::size_t run = start;
  for (;;) {
    // Eight bytes at a time through plain text.
    while (size - pos_ >= 8) {
      std::uint64_t w;
      std::memcpy(&w, text_.data() + pos_, 8);
      if (string_specials(w) != 0) break;
      high_bits |= w & highs;
      pos_ += 8;
    }
    while (pos_ < size) {
      const unsigned char c = byte_at(pos_);
      if (c == '"' || c == '\\' || c < 0x20) break;
      high_bits |= c & 0x80;
      ++pos_;
    }
    if (pos_ == size) return fail_at(pos_, "EOF while parsing a string");
    const unsigned char c = byte_at(pos_);
    if (c == '"') {
      if (escaped) scratch_.append(text_.data() + run, pos_ - run);
      ++pos_;
      out = escaped ? std::string_view(scratch_) : text_.substr(start, pos_ - 1 - start);
      if (high_bits != 0 && !valid_utf8(out)) return fail_at(pos_, "invalid unicode code point");
      return true;
    }
    if (c == '\\') {
      if (!escaped) {
        scratch_.clear();
        escaped = true;
      }
      scratch_.append(text_.data() + run, pos_ - run);
      ++pos_;
      if (!parse_escape(scratch_)) return false;
      run = pos_;
      continue;
    }
    ++pos_;
    return fail_at(pos_, "control character (\\u0000-\\u001F) found while parsing a string");
  }
}

// Skipped strings are checked for their syntax only: escapes must be well
// formed, but what they encode is not looked at.
bool Reader::skip_string() {
  const std::size_t size = text_.size();
  for (;;) {
    while (size - pos_ >= 8) {
      std::uint64_t w;
      std::memcpy(&w, text_.data() + pos_, 8);
      if (string_specials(w) != 0) break;
      pos_ += 8;
    }
    while (pos_ < size) {
      const unsigned char c = byte_at(pos_);
      if (c == '"' || c == '\\' || c < 0x20) break;
      ++pos_;
    }
    if (pos_ == size) return fail_at(pos_, "EOF while parsing a string");
    const unsigned char c = byte_at(pos_++);
    if (c == '"') return true;
    if (c != '\\') return fail_at(pos_, "control character (\\u0000-\\u001F) found while parsing a string");
    if (at_end()) return fail_at(pos_, "EOF while parsing a string");
    switch (text_[pos_++]) {
      case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't': break;
      case 'u': {
        std::uint16_t unit;
        if (!parse_hex4(unit)) return false;
        break;
      }
      default: return fail_at(pos_, "invalid escape");
    }
  }
}

// ---- Containers ----

bool Reader::begin_object(std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != '{') return fail_invalid_type(expected);
  return enter('{');
}

bool Reader::next_key(std::string_view& key) {
  if (error_) return false;
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing an object");
  unsigned char c = byte_at(pos_);
  if (c == '}') {
    ++pos_;
    --depth_;
    return false;
  }
  if (first_[depth_]) {
    first_[depth_] = false;
  } else if (c == ',') {
    ++pos_;
    skip_whitespace();
    if (at_end()) return fail_peek("EOF while parsing a value");
    c = byte_at(pos_);
  } else {
    return fail_peek("expected `,` or `}`");
  }
  if (c == '"') {
    ++pos_;
    if (!parse_string(key)) return false;
    colon_pending_ = true;
    return true;
  }
  if (c == '}') return fail_peek("trailing comma");
  return fail_peek("key must be a string");
}

bool Reader::begin_array(std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != '[') return fail_invalid_type(expected);
  return enter('[');
}

bool Reader::next_element() {
  if (error_) return false;
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing a list");
  const unsigned char c = byte_at(pos_);
  if (c == ']') {
    ++pos_;
    --depth_;
    return false;
  }
  if (first_[depth_]) {
    first_[depth_] = false;
    return true;
  }
  if (c != ',') return fail_peek("expected `,` or `]`");
  ++pos_;
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing a value");
  if (byte_at(pos_) == ']') return fail_peek("trailing comma");
  return true;
}

bool Reader::end_array() {
  if (error_) return false;
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing a list");
  const unsigned char c = byte_at(pos_);
  if (c == ']') {
    ++pos_;
    --depth_;
    return true;
  }
  if (c == ',') {
    ++pos_;
    skip_whitespace();
    if (!at_end() && byte_at(pos_) == ']') return fail_peek("trailing comma");
  }
  return fail_peek("trailing characters");
}

// ---- Scalars ----

bool Reader::read_unsigned(std::uint64_t max, std::uint64_t& out, std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != '-' && !is_digit(c)) return fail_invalid_type(expected);
  Number n;
  if (!parse_number(n)) return false;
  if (n.kind != NumberKind::Unsigned || n.u > max) return fail_number_type(n, expected);
  out = n.u;
  return true;
}

bool Reader::read_signed(std::int64_t min, std::int64_t max, std::int64_t& out, std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != '-' && !is_digit(c)) return fail_invalid_type(expected);
  Number n;
  if (!parse_number(n)) return false;
  if (n.kind == NumberKind::Unsigned && n.u <= static_cast<std::uint64_t>(max)) {
    out = static_cast<std::int64_t>(n.u);
    return true;
  }
  if (n.kind == NumberKind::Signed && n.i >= min) {
    out = n.i;
    return true;
  }
  return fail_number_type(n, expected);
}

bool Reader::read_bool(bool& out) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c == 't') {
    ++pos_;
    if (!parse_ident("rue")) return false;
    out = true;
    return true;
  }
  if (c == 'f') {
    ++pos_;
    if (!parse_ident("alse")) return false;
    out = false;
    return true;
  }
  return fail_invalid_type("a boolean");
}

bool Reader::read_string_view(std::string_view& out, std::string_view expected) {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != '"') return fail_invalid_type(expected);
  ++pos_;
  return parse_string(out);
}

bool Reader::read_string(std::string& out, std::string_view expected) {
  std::string_view view;
  if (!read_string_view(view, expected)) return false;
  out.assign(view);
  return true;
}

bool Reader::read_variant(std::span<const std::string_view> names, std::size_t& index) {
  unsigned char c;
  if (!value_start(c)) return false;
  auto lookup = [&](std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == name) {
        index = i;
        return true;
      }
    }
    return fail(fmt::format("unknown variant `{}`, expected {}", name, describe_one_of(names)));
  };
  std::string_view name;
  if (c == '"') {
    ++pos_;
    return parse_string(name) && lookup(name);
  }
  if (c != '{') return fail_peek("expected value");
  // The one-member object form {"Name": null}.
  if (!enter('{')) return false;
  skip_whitespace();
  if (at_end()) return fail_peek("EOF while parsing a value");
  if (byte_at(pos_) != '"') return fail_invalid_type("variant identifier");
  ++pos_;
  if (!parse_string(name) || !lookup(name)) return false;
  colon_pending_ = true;
  unsigned char v;
  if (!value_start(v)) return false;
  if (v != 'n') return fail_invalid_type("unit");
  ++pos_;
  if (!parse_ident("ull")) return false;
  skip_whitespace();
  if (at_end()) return fail_at(pos_, "EOF while parsing an object");
  if (byte_at(pos_) != '}') return fail_at(pos_, "expected value");
  ++pos_;
  --depth_;
  return true;
}

bool Reader::peek_null() {
  unsigned char c;
  return value_start(c) && c == 'n';
}

bool Reader::read_null() {
  unsigned char c;
  if (!value_start(c)) return false;
  if (c != 'n') return fail_invalid_type("unit");
  ++pos_;
  return parse_ident("ull");
}

bool Reader::skip_value() {
  unsigned char c;
  if (!value_start(c)) return false;
  const std::size_t base = depth_;
  for (;;) {
    bool opened = false;
    switch (c) {
      case 'n': ++pos_; if (!parse_ident("ull")) return false; break;
      case 't': ++pos_; if (!parse_ident("rue")) return false; break;
      case 'f': ++pos_; if (!parse_ident("alse")) return false; break;
      case '"': ++pos_; if (!skip_string()) return false; break;
      case '[':
      case '{':
        if (!enter(static_cast<char>(c))) return false;
        opened = true;
        break;
      default:
        if (c == '-' || is_digit(c)) {
          if (!skip_number()) return false;
          break;
        }
        return fail_peek("expected value");
    }
    // Close every container that ends here, then step to the next value.
    for (;;) {
      if (depth_ == base) return true;
      skip_whitespace();
      const bool in_object = object_[depth_];
      if (at_end()) return fail_peek(in_object ? "EOF while parsing an object" : "EOF while parsing a list");
      const unsigned char b = byte_at(pos_);
      if (b == (in_object ? '}' : ']')) {
        ++pos_;
        --depth_;
        opened = false;
        continue;
      }
      if (opened) break;
      if (b != ',') return fail_peek(in_object ? "expected `,` or `}`" : "expected `,` or `]`");
      ++pos_;
      break;
    }
    if (object_[depth_]) {
      skip_whitespace();
      if (at_end()) return fail_peek("EOF while parsing an object");
      if (byte_at(pos_) != '"') return fail_peek("key must be a string");
      ++pos_;
      if (!skip_string()) return false;
      skip_whitespace();
      if (at_end()) return fail_peek("EOF while parsing an object");
      if (byte_at(pos_) != ':') return fail_peek("expected `:`");
      ++pos_;
    }
    skip_whitespace();
    if (at_end()) return fail_peek("EOF while parsing a value");
    c = byte_at(pos_);
  }
}

bool Reader::finish() {
  if (error_) return false;
  skip_whitespace();
  if (!at_end()) return fail_peek("trailing characters");
  return true;
}

}  // namespace zarv::json
