#pragma once
// Builds HMP songs from their layout for tests: the 904-byte header (only
// the signature, version, track count and tempo filled in) and one chunk per
// track, each a 12-byte chunk header around the track's event data.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zarv::test {

using ByteVec = std::vector<std::uint8_t>;

inline void put_u32le(ByteVec& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline ByteVec hmp_header(std::uint32_t track_count, std::uint32_t bpm) {
  ByteVec out(904, 0);
  constexpr std::string_view magic = "HMIMIDIP013195";
  for (std::size_t i = 0; i < magic.size(); ++i) out[i] = static_cast<std::uint8_t>(magic[i]);
  put_u32le(out, 0x30, track_count);
  put_u32le(out, 0x38, bpm);
  return out;
}

// Appends one chunk; `size_field` overrides the stored chunk size.
inline void append_chunk(ByteVec& out, const ByteVec& events, std::optional<std::uint32_t> size_field = {}) {
  const std::size_t at = out.size();
  out.resize(at + 12, 0);
  put_u32le(out, at + 4, size_field.value_or(static_cast<std::uint32_t>(12 + events.size())));
  out.insert(out.end(), events.begin(), events.end());
}

// A whole song; the header claims `claimed_tracks` chunks when given.
inline ByteVec hmp_song(const std::vector<ByteVec>& tracks, std::uint32_t bpm = 120,
                        std::optional<std::uint32_t> claimed_tracks = {}) {
  ByteVec out = hmp_header(claimed_tracks.value_or(static_cast<std::uint32_t>(tracks.size())), bpm);
  for (const ByteVec& events : tracks) append_chunk(out, events);
  return out;
}

}  // namespace zarv::test
