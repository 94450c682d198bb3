#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zarv::codec {

// Where a record field was declared, shown under its backtrace frame.
struct SourceLocation {
  std::string_view file;
  int line = 0;
};

// One level of context added while a failure travels out of nested reads,
// for example "While parsing field 'n_maps' in FileHeader".
struct RecordFrame {
  std::string message;
  std::optional<SourceLocation> location;
};

// A failed fixed-layout record read: a root cause plus context frames,
// innermost first. message() gives the exact text the host sees.
class RecordError {
 public:
  enum class Cause : std::uint8_t { EndOfInput, Assertion, BadMagic, NoVariants, Custom };

  // The input ended inside the record: "failed to fill whole buffer".
  static RecordError end_of_input();
  // A field failed a check: "{message} at 0x{pos}".
  static RecordError assertion(std::string message, std::uint64_t pos);
  // A magic value did not match: "bad magic at 0x{pos}: {found}".
  static RecordError bad_magic(std::uint64_t pos, std::string found);
  // No alternative of a choice matched; each alternative may give its reason.
  static RecordError no_variants(std::uint64_t pos,
                                 std::vector<std::pair<std::string, RecordError>> reasons = {});

  // A root cause with a text of its own, shown as it is.
  static RecordError custom(std::string text);

  // Adds the next-outer frame.
  RecordError&& with_frame(std::string message, std::optional<SourceLocation> location = std::nullopt) &&;
  RecordError& with_frame(std::string message, std::optional<SourceLocation> location = std::nullopt) &;
  // Adds the frame "While parsing field '{field}' in {record}".
  RecordError&& in_field(std::string_view field, std::string_view record,
                         std::optional<SourceLocation> location = std::nullopt) &&;

  Cause cause() const { return cause_; }
  std::uint64_t position() const { return pos_; }
  const std::vector<RecordFrame>& frames() const { return frames_; }

  // The root cause's text alone.
  std::string root_cause_text() const;
  // The full rendering: the root cause alone without frames, otherwise the
  // backtrace with its banners.
  std::string message() const;

 private:
  Cause cause_ = Cause::EndOfInput;
  std::uint64_t pos_ = 0;
  std::string text_;  // assertion message or the magic value found
  std::vector<std::pair<std::string, RecordError>> reasons_;
  std::vector<RecordFrame> frames_;
};

}  // namespace zarv::codec
