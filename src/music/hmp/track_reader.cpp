#include "music/hmp/track_reader.hpp"

#include <algorithm>
#include <optional>

namespace zarv::music::hmp {
namespace {

// HMP deltas are stored least significant group first, and the byte with
// bit 7 SET is the last: the reverse of the MIDI form on both counts.
constexpr std::size_t kDeltaLimit = 4;
// Lengths of SysEx and meta bodies use the MIDI form, at most four bytes.
constexpr std::size_t kLengthLimit = 4;
constexpr std::size_t kEventReserveCap = std::size_t{4} << 20;  // 64 MiB of events

// The reader appends events straight into the track and reports success
// as a bool, keeping the first failure in `error_`: the per-event path then
// builds no error values at all, which is most of the reading time.
class TrackReader {
 public:
  TrackReader(std::span<const std::uint8_t> data, std::size_t track_number)
      : data_(data), track_number_(track_number) {}

  tl::expected<void, Error> read(Track& track) {
    track.events.clear();
    track.bodies.clear();
    // Busy tracks with running status hold about 0.6 events a byte (a
    // one-byte delta and two data bytes make two events); growing past this
    // estimate is rare. The cap keeps a huge track from asking for one
    // block of many gigabytes up front: beyond it the list grows as needed.
    track.events.reserve(std::min<std::size_t>(data_.size() / 3 * 2 + 2, kEventReserveCap));
    while (pos_ < data_.size()) {
      if (!read_delta(track)) return tl::unexpected(std::move(*error_));
      // Every delta is followed by an event.
      if (pos_ == data_.size()) return tl::unexpected(Error(Truncated{pos_ + 1, data_.size()}));
      if (!read_event(track)) return tl::unexpected(std::move(*error_));
    }
    return {};
  }

 private:
  bool fail(Error error) {
    error_.emplace(std::move(error));
    return false;
  }
  bool truncated(std::size_t needed) { return fail(Truncated{needed, data_.size()}); }

  bool read_delta(Track& track) {
    const std::size_t start = pos_;
    std::uint32_t ticks = 0;
    for (std::size_t i = 0; i < kDeltaLimit; ++i) {
      if (pos_ == data_.size()) return truncated(data_.size() + 1);
      const std::uint8_t b = data_[pos_++];
      ticks |= static_cast<std::uint32_t>(b & 0x7F) << (7 * i);
      if ((b & 0x80) != 0) {
        track.events.emplace_back(Delta{ticks});
        return true;
      }
    }
    return fail(HmpDeltaUnterminated{track_number_, start, kDeltaLimit});
  }

  bool read_event(Track& track) {
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
      return fail(HmpUnknownStatus{track_number_, status_pos, first});
    }

    const std::uint8_t channel = status & 0x0F;
    switch (status & 0xF0) {
      case 0x80:
        return channel_message<NoteOff>(track, channel);
      case 0x90:
        return channel_message<NoteOn>(track, channel);
      case 0xA0:
        return channel_message<PolyPressure>(track, channel);
      case 0xB0:
        return channel_message<ControlChange>(track, channel);
      case 0xC0:
        return channel_message<ProgramChange>(track, channel);
      case 0xD0:
        return channel_message<ChannelPressure>(track, channel);
      case 0xE0:
        return channel_message<PitchBend>(track, channel);
      default:
        break;
    }
    Body body;
    switch (status) {
      case 0xF0:
        if (!read_body(track, body)) return false;
        track.events.emplace_back(SysEx{body});
        return true;
      case 0xF7:
        if (!read_body(track, body)) return false;
        track.events.emplace_back(SysExEscape{body});
        return true;
      case 0xFF: {
        if (pos_ == data_.size()) return truncated(pos_ + 1);
        const std::uint8_t kind = data_[pos_++];
        if (!read_body(track, body)) return false;
        track.events.emplace_back(Meta{kind, body});
        return true;
      }
      default:
        return fail(HmpUnknownStatus{track_number_, status_pos, status});
    }
  }

  template <class Message>
  bool channel_message(Track& track, std::uint8_t channel) {
    if (data_.size() - pos_ < Message::data_bytes) return truncated(data_.size() + 1);
    Message message;
    message.channel = channel;
    for (auto& byte : message.data) byte = data_[pos_++];
    track.events.emplace_back(message);
    return true;
  }

  // A MIDI-form length, then that many bytes, copied into the track's store.
  bool read_body(Track& track, Body& body) {
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
    body = track.keep_body(data_.subspan(pos_, length));
    pos_ += length;
    return true;
  }

  std::span<const std::uint8_t> data_;
  std::size_t track_number_;
  std::size_t pos_ = 0;
  std::optional<std::uint8_t> running_status_;
  std::optional<Error> error_;
};

}  // namespace

tl::expected<Track, Error> read_track(std::span<const std::uint8_t> data, std::size_t track_number) {
  Track track;
  if (auto read = TrackReader(data, track_number).read(track); !read) return tl::unexpected(std::move(read.error()));
  return track;
}

tl::expected<void, Error> read_track_into(std::span<const std::uint8_t> data, std::size_t track_number,
                                          Track& track) {
  return TrackReader(data, track_number).read(track);
}

}  // namespace zarv::music::hmp
