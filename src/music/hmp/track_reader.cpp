#include "music/hmp/track_reader.hpp"

#include <optional>

namespace zarv::music::hmp {
namespace {

// HMP deltas are stored least significant group first, and the byte with
// bit 7 SET is the last: the reverse of the MIDI form on both counts.
constexpr std::size_t kDeltaLimit = 4;
// Lengths of SysEx and meta bodies use the MIDI form, at most four bytes.
constexpr std::size_t kLengthLimit = 4;

class TrackReader {
 public:
  TrackReader(std::span<const std::uint8_t> data, std::size_t track_number)
      : data_(data), track_number_(track_number) {}

  tl::expected<Track, Error> read() {
    Track track;
    // A delta and an event take at least two bytes together.
    track.events.reserve(data_.size() / 2 + 1);
    while (pos_ < data_.size()) {
      auto ticks = read_delta();
      if (!ticks) return tl::unexpected(std::move(ticks.error()));
      track.events.emplace_back(Delta{*ticks});
      if (pos_ == data_.size()) return truncated(pos_ + 1);  // every delta is followed by an event
      auto event = read_event(track);
      if (!event) return tl::unexpected(std::move(event.error()));
      track.events.push_back(*event);
    }
    return track;
  }

 private:
  tl::unexpected<Error> truncated(std::size_t needed) const {
    return tl::unexpected(Error(Truncated{needed, data_.size()}));
  }

  tl::expected<std::uint32_t, Error> read_delta() {
    const std::size_t start = pos_;
    std::uint32_t ticks = 0;
    for (std::size_t i = 0; i < kDeltaLimit; ++i) {
      if (pos_ == data_.size()) return truncated(data_.size() + 1);
      const std::uint8_t b = data_[pos_++];
      ticks |= static_cast<std::uint32_t>(b & 0x7F) << (7 * i);
      if ((b & 0x80) != 0) return ticks;
    }
    return tl::unexpected(Error(HmpDeltaUnterminated{track_number_, start, kDeltaLimit}));
  }

  tl::expected<Event, Error> read_event(Track& track) {
    const std::size_t status_pos = pos_;
    const std::uint8_t first = data_[pos_];
    std::uint8_t status;
    if (first >= 0x80) {
      status = first;
      running_status_ = status;
      ++pos_;
    } else if (running_status_) {
      status = *running_status_;  // the byte is this event's first data byte
    } else {
      return tl::unexpected(Error(HmpUnknownStatus{track_number_, status_pos, first}));
    }

    const std::uint8_t channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        return channel_message<NoteOff>(channel);
      case 0x90:
        return channel_message<NoteOn>(channel);
      case 0xA0:
        return channel_message<PolyPressure>(channel);
      case 0xB0:
        return channel_message<ControlChange>(channel);
      case 0xC0:
        return channel_message<ProgramChange>(channel);
      case 0xD0:
        return channel_message<ChannelPressure>(channel);
      case 0xE0:
        return channel_message<PitchBend>(channel);
      default:
        break;
    }
    switch (status) {
      case 0xF0: {
        auto body = read_body(track);
        if (!body) return tl::unexpected(std::move(body.error()));
        return SysEx{*body};
      }
      case 0xF7: {
        auto body = read_body(track);
        if (!body) return tl::unexpected(std::move(body.error()));
        return SysExEscape{*body};
      }
      case 0xFF: {
        if (pos_ == data_.size()) return truncated(pos_ + 1);
        const std::uint8_t kind = data_[pos_++];
        auto body = read_body(track);
        if (!body) return tl::unexpected(std::move(body.error()));
        return Meta{kind, *body};
      }
      default:
        return tl::unexpected(Error(HmpUnknownStatus{track_number_, status_pos, status}));
    }
  }

  template <class Message>
  tl::expected<Event, Error> channel_message(std::uint8_t channel) {
    Message message;
    message.channel = channel;
    for (auto& byte : message.data) {
      if (pos_ == data_.size()) return truncated(pos_ + 1);
      byte = data_[pos_++];
    }
    return message;
  }

  // A MIDI-form length, then that many bytes, copied into the track's store.
  tl::expected<Body, Error> read_body(Track& track) {
    const std::size_t length_start = pos_;
    std::size_t length = 0;
    for (std::size_t i = 0;; ++i) {
      if (i == kLengthLimit) return truncated(length_start + kLengthLimit + 1);
      if (pos_ == data_.size()) return truncated(pos_ + 1);
      const std::uint8_t b = data_[pos_++];
      length = length << 7 | (b & 0x7F);
      if ((b & 0x80) == 0) break;
    }
    if (length > data_.size() - pos_) return truncated(pos_ + length);
    const Body body = track.keep_body(data_.subspan(pos_, length));
    pos_ += length;
    return body;
  }

  std::span<const std::uint8_t> data_;
  std::size_t track_number_;
  std::size_t pos_ = 0;
  std::optional<std::uint8_t> running_status_;
};

}  // namespace

tl::expected<Track, Error> read_track(std::span<const std::uint8_t> data, std::size_t track_number) {
  return TrackReader(data, track_number).read();
}

}  // namespace zarv::music::hmp
