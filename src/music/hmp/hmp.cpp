#include "music/hmp/hmp.hpp"

#include <optional>

#include "music/hmp/parser.hpp"
#include "music/hmp/smf.hpp"
#include "music/hmp/track_reader.hpp"

namespace zarv::music {

tl::expected<Hmp, Error> Hmp::parse(std::span<const std::uint8_t> bytes) {
  auto header = hmp::read_header(bytes);
  if (!header) return tl::unexpected(std::move(header.error()));
  auto directory = hmp::read_chunk_directory(bytes, header->track_count);
  if (!directory) return tl::unexpected(std::move(directory.error()));

  Hmp song;
  song.bpm = header->bpm;
  song.tracks.reserve(directory->size());
  for (std::size_t t = 0; t < directory->size(); ++t) {
    const hmp::TrackDir& entry = (*directory)[t];
    auto track = hmp::read_track(bytes.subspan(entry.offset, entry.length), t);
    if (!track) return tl::unexpected(std::move(track.error()));
    song.tracks.push_back(std::move(*track));
  }
  return song;
}

codec::ByteBuffer Hmp::to_smf() const { return smf::encode(*this); }

tl::expected<codec::ByteBuffer, Error> Hmp::convert_to_smf(std::span<const std::uint8_t> bytes) {
  auto header = hmp::read_header(bytes);
  if (!header) return tl::unexpected(std::move(header.error()));
  auto directory = hmp::read_chunk_directory(bytes, header->track_count);
  if (!directory) return tl::unexpected(std::move(directory.error()));

  codec::ByteBuffer out;
  // The file is about as long as the song: running status written out
  // makes it a little longer, the chunk headers a little shorter.
  out.reserve(14 + bytes.size() + bytes.size() / 4);
  smf::write_header(out, directory->size());
  hmp::Track track;
  for (std::size_t t = 0; t < directory->size(); ++t) {
    const hmp::TrackDir& entry = (*directory)[t];
    auto read = hmp::read_track_into(bytes.subspan(entry.offset, entry.length), t, track);
    if (!read) return tl::unexpected(std::move(read.error()));
    smf::write_track(out, track, t == 0 ? std::optional(header->bpm) : std::nullopt);
  }
  return out;
}

}  // namespace zarv::music
