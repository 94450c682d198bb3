#include "music/hmp/smf.hpp"

#include <initializer_list>
#include <limits>
#include <optional>
#include <string_view>
#include <variant>

#include "codec/byte_cursor.hpp"
#include "codec/internal_fault.hpp"

namespace zarv::music::smf {
namespace {

constexpr std::uint32_t kMaxTempo = 0xFF'FFFF;  // a tempo event holds 24 bits
// The longest variable-length number, then a status and two data bytes.
constexpr std::size_t kMaxChannelEventBytes = 5 + 3;

// Writes `value` in the variable-length form at p; returns the byte count.
std::size_t put_vlq(std::uint8_t* p, std::uint32_t value) {
  std::size_t groups = 1;
  while (groups < 5 && (value >> (7 * groups)) != 0) ++groups;
  for (std::size_t i = 0; i < groups; ++i) {
    const auto group = static_cast<std::uint8_t>((value >> (7 * (groups - 1 - i))) & 0x7F);
    p[i] = i + 1 < groups ? static_cast<std::uint8_t>(group | 0x80) : group;
  }
  return groups;
}

std::uint32_t saturating_add(std::uint32_t a, std::uint32_t b) {
  const std::uint32_t max = std::numeric_limits<std::uint32_t>::max();
  return b > max - a ? max : a + b;
}

void put_u32be(codec::ByteBuffer& out, std::uint32_t value) {
  std::uint8_t* p = out.prepare(4);
  codec::store<std::uint32_t>(p, value, codec::ByteOrder::Big);
  out.commit(4);
}

class TrackWriter {
 public:
  TrackWriter(codec::ByteBuffer& out, const hmp::Track& track) : out_(out), track_(track) {}

  void write_tempo(std::uint32_t tempo) {
    const std::uint8_t event[] = {0x00,
                                  0xFF,
                                  0x51,
                                  0x03,
                                  static_cast<std::uint8_t>(tempo >> 16),
                                  static_cast<std::uint8_t>(tempo >> 8),
                                  static_cast<std::uint8_t>(tempo)};
    out_.append(event, sizeof event);
  }

  void write_events() {
    for (const hmp::Event& event : track_.events) std::visit(*this, event);
  }

  // The deltas after the last written event ride on the closing event.
  void write_end_of_track() {
    push_vlq(out_, pending_);
    const std::uint8_t end[] = {0xFF, hmp::kEndOfTrack, 0x00};
    out_.append(end, sizeof end);
    pending_ = 0;
  }

  void operator()(const hmp::Delta& delta) { pending_ = saturating_add(pending_, delta.ticks); }

  template <std::uint8_t Kind, std::size_t DataBytes>
  void operator()(const hmp::ChannelMessage<Kind, DataBytes>& message) {
    std::uint8_t* p = out_.prepare(kMaxChannelEventBytes);
    std::size_t n = put_vlq(p, pending_);
    p[n++] = static_cast<std::uint8_t>(Kind | (message.channel & 0x0F));
    // A data byte with bit 7 set would read as a status byte and throw every
    // reader off the rest of the track, so only its seven data bits go out.
    for (std::uint8_t byte : message.data) p[n++] = byte & 0x7F;
    out_.commit(n);
    pending_ = 0;
  }

  void operator()(const hmp::SysEx& sysex) { write_body_event({0xF0}, sysex.body); }
  void operator()(const hmp::SysExEscape& escape) { write_body_event({0xF7}, escape.body); }
  void operator()(const hmp::Meta& meta) {
    // The song's own empty end-of-track events are dropped: the file gets one
    // at the very end, and their deltas move on to the next event.
    if (meta.kind == hmp::kEndOfTrack && meta.body.length == 0) return;
    write_body_event({0xFF, meta.kind}, meta.body);
  }

 private:
  void write_body_event(std::initializer_list<std::uint8_t> lead, hmp::Body body) {
    push_vlq(out_, pending_);
    out_.append(std::data(lead), lead.size());
    push_vlq(out_, body.length);
    out_.append(track_.body(body));
    pending_ = 0;
  }

  codec::ByteBuffer& out_;
  const hmp::Track& track_;
  std::uint32_t pending_ = 0;
};

std::size_t reserve_size(const Hmp& song) {
  std::size_t size = 14 + 16 * song.tracks.size();
  for (const hmp::Track& track : song.tracks) size += 2 * track.events.size() + track.bodies.size();
  return size;
}

}  // namespace

void push_vlq(codec::ByteBuffer& out, std::uint32_t value) {
  std::uint8_t* p = out.prepare(5);
  out.commit(put_vlq(p, value));
}

std::uint32_t tempo_for_bpm(std::uint32_t bpm) {
  if (bpm == 0) return kDefaultTempo;
  // Below 4 quarter notes a minute the tempo exceeds 24 bits; the slowest
  // tempo the event can hold is the closest one, where keeping only the low
  // bits would play such a song at an arbitrary faster speed.
  const std::uint32_t tempo = 60'000'000 / bpm;
  return tempo > kMaxTempo ? kMaxTempo : tempo;
}

void write_header(codec::ByteBuffer& out, std::size_t track_count) {
  const std::uint8_t header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  out.append(header, sizeof header);
  const auto count = static_cast<std::uint16_t>(track_count);
  const std::uint8_t counts[] = {static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count),
                                 static_cast<std::uint8_t>(kDivision >> 8), static_cast<std::uint8_t>(kDivision)};
  out.append(counts, sizeof counts);
}

void write_track(codec::ByteBuffer& out, const hmp::Track& track, std::optional<std::uint32_t> tempo_of_bpm) {
  out.append(std::string_view("MTrk"));
  const std::size_t length_at = out.size();
  put_u32be(out, 0);  // patched below

  TrackWriter writer(out, track);
  if (tempo_of_bpm) writer.write_tempo(tempo_for_bpm(*tempo_of_bpm));
  writer.write_events();
  writer.write_end_of_track();

  const std::size_t length = out.size() - length_at - 4;
  // Chunk sizes are 32-bit; only a multi-gigabyte track could exceed them.
  if (length > std::numeric_limits<std::uint32_t>::max()) throw InternalFault("MIDI track exceeds 4 GiB");
  codec::store<std::uint32_t>(out.data() + length_at, static_cast<std::uint32_t>(length), codec::ByteOrder::Big);
}

codec::ByteBuffer encode(const Hmp& song) {
  codec::ByteBuffer out;
  out.reserve(reserve_size(song));
  write_header(out, song.tracks.size());
  for (std::size_t t = 0; t < song.tracks.size(); ++t)
    write_track(out, song.tracks[t], t == 0 ? std::optional(song.bpm) : std::nullopt);
  return out;
}

}  // namespace zarv::music::smf
