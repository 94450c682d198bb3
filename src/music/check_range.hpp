#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include <tl/expected.hpp>

#include "music/error.hpp"

namespace zarv::music {

// The view bytes[offset, offset + size), or OutOfRange naming `what` (a
// string literal), the offset and the input's length when any of it lies
// outside the input. The check cannot overflow.
tl::expected<std::span<const std::uint8_t>, Error> check_range(std::span<const std::uint8_t> bytes,
                                                               std::size_t offset, std::size_t size,
                                                               std::string_view what);

}  // namespace zarv::music
