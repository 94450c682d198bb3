#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "music/error.hpp"
#include "music/hmp/event.hpp"

namespace zarv::music::hmp {

// Reads one track's event data: pairs of an HMP delta time and one event,
// until the data ends (an end-of-track meta event does not end it). Offsets
// in the errors count from the start of `data`; `track_number` is the
// track's index in the song. Empty data is a track with no events.
tl::expected<Track, Error> read_track(std::span<const std::uint8_t> data, std::size_t track_number);
// The same into an existing track, which is emptied first and keeps its
// storage, so that one track can be read after another without new memory.
tl::expected<void, Error> read_track_into(std::span<const std::uint8_t> data, std::size_t track_number,
                                          Track& track);

}  // namespace zarv::music::hmp
