#include "music/independent_reader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <variant>

#include <fmt/format.h>

namespace zarv::test {
namespace {

namespace hmp = music::hmp;

std::string hex(std::span<const std::uint8_t> bytes) {
  std::string out;
  for (std::uint8_t b : bytes) out += fmt::format("{:02x}", b);
  return out;
}

// How the reader shows one message: channel messages as their bytes,
// SysEx (either status) as f0 and the body without its framing f0 / f7,
// meta events as ff, kind and body.
struct Listing {
  const hmp::Track& track;

  std::string operator()(const hmp::Delta&) const { return {}; }
  template <std::uint8_t Kind, std::size_t N>
  std::string operator()(const hmp::ChannelMessage<Kind, N>& m) const {
    std::string out = fmt::format("{:02x}", Kind | m.channel);
    for (std::uint8_t b : m.data) out += fmt::format("{:02x}", b & 0x7F);
    return out;
  }
  std::string sysex(hmp::Body body) const {
    auto data = track.body(body);
    if (!data.empty() && data.front() == 0xF0) data = data.subspan(1);
    if (!data.empty() && data.back() == 0xF7) data = data.first(data.size() - 1);
    return "f0" + hex(data);
  }
  std::string operator()(const hmp::SysEx& e) const { return sysex(e.body); }
  std::string operator()(const hmp::SysExEscape& e) const { return sysex(e.body); }
  std::string operator()(const hmp::Meta& e) const {
    if (e.kind == hmp::kEndOfTrack && e.body.length == 0) return {};  // not carried over
    return fmt::format("ff{:02x}", e.kind) + hex(track.body(e.body));
  }
};

std::string expected_listing(const music::Hmp& song) {
  std::string out = fmt::format("tracks {}\n", song.tracks.size());
  for (std::size_t t = 0; t < song.tracks.size(); ++t) {
    const hmp::Track& track = song.tracks[t];
    out += "track\n";
    if (t == 0) {
      const std::uint32_t tempo = song.bpm == 0 ? 500000 : std::min<std::uint32_t>(60000000 / song.bpm, 0xFFFFFF);
      out += fmt::format("0 ff51{:06x}\n", tempo);
    }
    std::uint64_t tick = 0;
    for (const hmp::Event& event : track.events) {
      if (const auto* delta = std::get_if<hmp::Delta>(&event)) {
        tick += delta->ticks;
        continue;
      }
      const std::string shown = std::visit(Listing{track}, event);
      if (!shown.empty()) out += fmt::format("{} {}\n", tick, shown);
    }
    out += fmt::format("{} ff2f\n", tick);
  }
  return out;
}

}  // namespace

void keep_for_independent_reader(const std::string& name, const music::Hmp& song,
                                 std::span<const std::uint8_t> smf, bool with_listing) {
  const std::filesystem::path dir = ZARV_SMF_CHECK_DIR;
  std::filesystem::create_directories(dir);
  std::ofstream mid(dir / (name + ".mid"), std::ios::binary | std::ios::trunc);
  mid.write(reinterpret_cast<const char*>(smf.data()), static_cast<std::streamsize>(smf.size()));
  ASSERT_TRUE(mid) << "cannot keep " << name << " in " << dir;
  const auto listing_path = dir / (name + ".expected");
  if (!with_listing) {
    std::filesystem::remove(listing_path);
    return;
  }
  std::ofstream listing(listing_path, std::ios::trunc);
  listing << expected_listing(song);
  ASSERT_TRUE(listing) << "cannot keep the listing of " << name << " in " << dir;
}

}  // namespace zarv::test
