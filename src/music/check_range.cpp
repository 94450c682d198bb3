#include "music/check_range.hpp"

#include "codec/byte_cursor.hpp"

namespace zarv::music {

tl::expected<std::span<const std::uint8_t>, Error> check_range(std::span<const std::uint8_t> bytes,
                                                               std::size_t offset, std::size_t size,
                                                               std::string_view what) {
  if (!codec::fits(bytes.size(), offset, size)) return tl::unexpected(Error(OutOfRange{what, offset, bytes.size()}));
  return bytes.subspan(offset, size);
}

}  // namespace zarv::music
