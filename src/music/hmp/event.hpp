#pragma once
// One HMP track as a list of events: delta times are events of their own,
// and a track alternates a Delta and one other event.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>
#include <vector>

namespace zarv::music::hmp {

struct Delta {
  std::uint32_t ticks = 0;
  friend bool operator==(const Delta&, const Delta&) = default;
};

// A channel message: the status kind (high nibble) is part of the type, the
// channel (low nibble) and the data bytes are stored. Data bytes are kept
// exactly as the song has them, bit 7 included.
template <std::uint8_t Kind, std::size_t DataBytes>
struct ChannelMessage {
  static constexpr std::uint8_t kind = Kind;
  static constexpr std::size_t data_bytes = DataBytes;
  std::uint8_t channel = 0;
  std::array<std::uint8_t, DataBytes> data{};
  friend bool operator==(const ChannelMessage&, const ChannelMessage&) = default;
};

using NoteOff = ChannelMessage<0x80, 2>;
using NoteOn = ChannelMessage<0x90, 2>;
using PolyPressure = ChannelMessage<0xA0, 2>;
using ControlChange = ChannelMessage<0xB0, 2>;
using ProgramChange = ChannelMessage<0xC0, 1>;
using ChannelPressure = ChannelMessage<0xD0, 1>;
using PitchBend = ChannelMessage<0xE0, 2>;

// Where a SysEx or meta body lies in its track's body store.
struct Body {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  friend bool operator==(const Body&, const Body&) = default;
};

struct SysEx {  // status 0xF0
  Body body;
  friend bool operator==(const SysEx&, const SysEx&) = default;
};
struct SysExEscape {  // status 0xF7
  Body body;
  friend bool operator==(const SysExEscape&, const SysExEscape&) = default;
};
struct Meta {  // status 0xFF
  std::uint8_t kind = 0;
  Body body;
  friend bool operator==(const Meta&, const Meta&) = default;
};

inline constexpr std::uint8_t kEndOfTrack = 0x2F;

using Event = std::variant<Delta, NoteOff, NoteOn, PolyPressure, ControlChange, ProgramChange, ChannelPressure,
                           PitchBend, SysEx, SysExEscape, Meta>;

// One track in file order. The SysEx and meta bodies are copied out of the
// song, back to back, into `bodies`, so a track owns everything it holds.
struct Track {
  std::vector<Event> events;
  std::vector<std::uint8_t> bodies;

  std::span<const std::uint8_t> body(Body b) const { return std::span(bodies).subspan(b.offset, b.length); }
  // Copies a body into the store and says where it went.
  Body keep_body(std::span<const std::uint8_t> data) {
    const Body b{static_cast<std::uint32_t>(bodies.size()), static_cast<std::uint32_t>(data.size())};
    bodies.insert(bodies.end(), data.begin(), data.end());
    return b;
  }
};

}  // namespace zarv::music::hmp
