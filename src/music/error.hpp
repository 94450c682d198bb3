#pragma once
// The music library's one error type, shared by every music and sound
// reader: HMP songs, resource forks, 'snd ' resources, packed modules and
// module rendering. Each value renders to one line of English text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "codec/variant_error.hpp"
#include "music/format.hpp"

namespace zarv::music {

// The input ended before a structure it declares.
struct Truncated {
  std::size_t needed = 0;
  std::size_t got = 0;
};
// No known magic bytes.
struct UnrecognizedFormat {};
// A declared structure lies outside the input. `what` names the structure
// and is always a string literal, so the view never dangles.
struct OutOfRange {
  std::string_view what;
  std::size_t offset = 0;
  std::size_t len = 0;
};
struct SndFormat {
  std::uint16_t format = 0;
};
struct SndEncoding {
  std::uint8_t encoding = 0;
};
struct SndNoSoundCommand {};
struct AppleDoubleVersion {
  std::uint32_t version = 0;
};
struct AppleDoubleNoResourceFork {};
struct MacBinaryForkTooLarge {
  std::size_t declared = 0;
  std::size_t input = 0;
};
// The first eight bytes of a would-be HMP song.
struct HmpSignature {
  std::array<std::uint8_t, 8> bytes{};
};
// Bytes 8 to 13 of an HMP song.
struct HmpVersion {
  std::array<std::uint8_t, 6> bytes{};
};
// A status byte HMP tracks never use (0xF1 to 0xF6, 0xF8 to 0xFE), or a data
// byte where a track's first status is expected. `offset` counts from the
// start of the track's event data.
struct HmpUnknownStatus {
  std::size_t track = 0;
  std::size_t offset = 0;
  std::uint8_t status = 0;
};
// A delta time whose last allowed byte still did not end it; `offset` counts
// from the start of the track's event data.
struct HmpDeltaUnterminated {
  std::size_t track = 0;
  std::size_t offset = 0;
  std::size_t limit = 0;
};
struct P41Invalid {
  std::string reason;
};
// The module renderer's own failure, kept as its message.
struct Render {
  std::string message;
};
// A container this operation does not take.
struct UnexpectedFormat {
  Format format = Format::Hmp;
};

class Error : public codec::VariantError<Truncated, UnrecognizedFormat, OutOfRange, SndFormat, SndEncoding,
                                         SndNoSoundCommand, AppleDoubleVersion, AppleDoubleNoResourceFork,
                                         MacBinaryForkTooLarge, HmpSignature, HmpVersion, HmpUnknownStatus,
                                         HmpDeltaUnterminated, P41Invalid, Render, UnexpectedFormat> {
 public:
  using VariantError::VariantError;
  // The exact one-line message.
  std::string message() const;
};

}  // namespace zarv::music
