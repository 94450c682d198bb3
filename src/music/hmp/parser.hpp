#pragma once
// The HMP file header and the directory of track chunks behind it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "music/error.hpp"

namespace zarv::music::hmp {

inline constexpr std::size_t kHeaderSize = 904;  // the first chunk starts here
inline constexpr std::size_t kTrackCountOffset = 0x30;
inline constexpr std::size_t kBpmOffset = 0x38;
inline constexpr std::size_t kChunkHeaderSize = 12;

// The fields of the 904-byte header the reader uses; the rest is ignored.
struct Header {
  std::uint32_t track_count = 0;
  std::uint32_t bpm = 0;
};

// One chunk's event data: its offset in the file and its length.
struct TrackDir {
  std::size_t offset = 0;
  std::size_t length = 0;
  friend bool operator==(const TrackDir&, const TrackDir&) = default;
};

// Checks the length, the "HMIMIDIP" signature and the "013195" version and
// reads the track count and tempo. Fails with Truncated, HmpSignature or
// HmpVersion.
tl::expected<Header, Error> read_header(std::span<const std::uint8_t> bytes);

// Walks `track_count` chunks from offset 904, each a 12-byte header whose
// size field (at +4) counts the header too. Fails with OutOfRange for a
// chunk header or payload past the end and for a size below 12. The
// directory never reserves more entries than the input could hold, whatever
// the count claims; bytes after the last chunk are ignored.
tl::expected<std::vector<TrackDir>, Error> read_chunk_directory(std::span<const std::uint8_t> bytes,
                                                                std::uint32_t track_count);

}  // namespace zarv::music::hmp
