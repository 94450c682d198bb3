#include "codec/record_error.hpp"

#include <fmt/format.h>

namespace zarv::codec {
namespace {

constexpr std::string_view kBoldOn = "\x1b[1m";
constexpr std::string_view kBoldOff = "\x1b[22m";

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::string opening_banner() {
  return "\n \u257a" + repeat("\u2501", 20) + "\u2505 Backtrace \u2505" + repeat("\u2501", 20) + "\u2578\n\n";
}

std::string closing_banner() { return "\n \u257a" + repeat("\u2501", 53) + "\u2578\n\n"; }

void append_location(std::string& out, const RecordFrame& frame) {
  if (frame.location) out += fmt::format("     at {}:{}\n", frame.location->file, frame.location->line);
}

}  // namespace

RecordError RecordError::end_of_input() { return RecordError{}; }

RecordError RecordError::assertion(std::string message, std::uint64_t pos) {
  RecordError e;
  e.cause_ = Cause::Assertion;
  e.text_ = std::move(message);
  e.pos_ = pos;
  return e;
}

RecordError RecordError::bad_magic(std::uint64_t pos, std::string found) {
  RecordError e;
  e.cause_ = Cause::BadMagic;
  e.text_ = std::move(found);
  e.pos_ = pos;
  return e;
}

RecordError RecordError::no_variants(std::uint64_t pos, std::vector<std::pair<std::string, RecordError>> reasons) {
  RecordError e;
  e.cause_ = Cause::NoVariants;
  e.pos_ = pos;
  e.reasons_ = std::move(reasons);
  return e;
}

RecordError RecordError::custom(std::string text) {
  RecordError e;
  e.cause_ = Cause::Custom;
  e.text_ = std::move(text);
  return e;
}

RecordError& RecordError::with_frame(std::string message, std::optional<SourceLocation> location) & {
  frames_.push_back(RecordFrame{std::move(message), location});
  return *this;
}

RecordError&& RecordError::with_frame(std::string message, std::optional<SourceLocation> location) && {
  frames_.push_back(RecordFrame{std::move(message), location});
  return std::move(*this);
}

RecordError&& RecordError::in_field(std::string_view field, std::string_view record,
                                    std::optional<SourceLocation> location) && {
  return std::move(*this).with_frame(fmt::format("While parsing field '{}' in {}", field, record), location);
}

std::string RecordError::root_cause_text() const {
  switch (cause_) {
    case Cause::EndOfInput:
      return "failed to fill whole buffer";
    case Cause::Assertion:
      return fmt::format("{} at 0x{:x}", text_, pos_);
    case Cause::BadMagic:
      return fmt::format("bad magic at 0x{:x}: {}", pos_, text_);
    case Cause::Custom:
      return text_;
    case Cause::NoVariants: {
      if (reasons_.empty()) return fmt::format("no variants matched at 0x{:x}", pos_);
      std::string out = fmt::format("no variants matched at 0x{:x}:", pos_);
      for (const auto& [name, error] : reasons_) out += fmt::format("\n  {}: {}", name, error.message());
      return out;
    }
  }
  return {};
}

std::string RecordError::message() const {
  if (frames_.empty()) return root_cause_text();
  std::string out = opening_banner();
  const bool lists_alternatives = cause_ == Cause::NoVariants && !reasons_.empty();
  const std::string_view pad = lists_alternatives ? "..." : "       ";
  const RecordFrame& innermost = frames_.front();
  out += fmt::format(" 0: {}{}Error: {}{}\n    {}{}{}{}{}\n", kBoldOn, kBoldOn, root_cause_text(), kBoldOff, pad,
                     kBoldOn, innermost.message, kBoldOff, kBoldOff);
  append_location(out, innermost);
  for (std::size_t i = 1; i < frames_.size(); ++i) {
    out += fmt::format(" {}: {}{}{}\n", i, kBoldOn, frames_[i].message, kBoldOff);
    append_location(out, frames_[i]);
  }
  out += closing_banner();
  return out;
}

}  // namespace zarv::codec
