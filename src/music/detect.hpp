#pragma once
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "music/error.hpp"
#include "music/format.hpp"

namespace zarv::music {

// Tells the music container by its magic bytes, in a fixed order: HMP
// ("HMIMIDIP"), Standard MIDI File ("MThd"), packed module ("P41A"), then
// ProTracker module ("M.K." at 1080, so at least 1084 bytes). Fails with
// Truncated for fewer than 8 bytes and UnrecognizedFormat otherwise.
tl::expected<Format, Error> detect(std::span<const std::uint8_t> bytes);

}  // namespace zarv::music
