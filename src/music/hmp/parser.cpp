#include "music/hmp/parser.hpp"

#include <algorithm>
#include <string_view>

#include "codec/byte_cursor.hpp"
#include "music/check_range.hpp"

namespace zarv::music::hmp {
namespace {

constexpr std::string_view kSignature = "HMIMIDIP";
constexpr std::string_view kVersion = "013195";

template <std::size_t N>
std::array<std::uint8_t, N> first_bytes(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, N> out{};
  std::copy_n(bytes.begin(), N, out.begin());
  return out;
}

bool equals_text(std::span<const std::uint8_t> bytes, std::string_view text) {
  return std::equal(text.begin(), text.end(), bytes.begin(), bytes.end(),
                    [](char t, std::uint8_t b) { return static_cast<std::uint8_t>(t) == b; });
}

std::uint32_t u32_at(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return codec::load<std::uint32_t>(bytes.data() + offset, codec::ByteOrder::Little);
}

}  // namespace

tl::expected<Header, Error> read_header(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return tl::unexpected(Error(Truncated{kHeaderSize, bytes.size()}));
  if (!equals_text(bytes.first(8), kSignature)) return tl::unexpected(Error(HmpSignature{first_bytes<8>(bytes)}));
  if (!equals_text(bytes.subspan(8, 6), kVersion))
    return tl::unexpected(Error(HmpVersion{first_bytes<6>(bytes.subspan(8))}));
  return Header{u32_at(bytes, kTrackCountOffset), u32_at(bytes, kBpmOffset)};
}

tl::expected<std::vector<TrackDir>, Error> read_chunk_directory(std::span<const std::uint8_t> bytes,
                                                                std::uint32_t track_count) {
  // Every chunk takes at least its 12-byte header, so the input bounds the
  // number of entries however many the header claims.
  const std::size_t room = bytes.size() >= kHeaderSize ? (bytes.size() - kHeaderSize) / kChunkHeaderSize : 0;
  std::vector<TrackDir> directory;
  directory.reserve(std::min<std::size_t>(track_count, room));

  std::size_t position = kHeaderSize;
  for (std::uint32_t i = 0; i < track_count; ++i) {
    if (auto header = check_range(bytes, position, kChunkHeaderSize, "hmp subtrack chunk header"); !header)
      return tl::unexpected(std::move(header.error()));
    const std::size_t chunk_size = u32_at(bytes, position + 4);
    if (chunk_size < kChunkHeaderSize)
      return tl::unexpected(Error(OutOfRange{"hmp subtrack chunk size", position + 4, bytes.size()}));
    if (!codec::fits(bytes.size(), position, chunk_size))
      return tl::unexpected(Error(OutOfRange{"hmp subtrack payload", position + kChunkHeaderSize, bytes.size()}));
    directory.push_back(TrackDir{position + kChunkHeaderSize, chunk_size - kChunkHeaderSize});
    position += chunk_size;
  }
  return directory;
}

}  // namespace zarv::music::hmp
