// HMP songs to Standard MIDI Files, in MB/s of HMP input, on large generated
// songs. Beside it in the same run: a plain copy of the same bytes (the
// floor for any converter), and the peer library libwildmidi. Its converter
// (WildMidi_ConvertBufferToMidi) is tried on the same song and reported as
// skipped with the library's own message when it does not take HMP input;
// its player's loader (WildMidi_OpenBuffer, which needs its sound patches
// configured) is timed on the explicit-status song it can read.
#include <benchmark/benchmark.h>
#include <wildmidi_lib.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "convert/operations.hpp"
#include "music/hmp/hmp.hpp"
#include "samples/music_samples.hpp"

namespace {

// range(0): 0 = running status, 1 = explicit status bytes; range(1): the
// song's size in MiB. The 8 MiB songs make an event list of about 80 MiB,
// so their figures include the kernel's first touch of that memory; the
// 1 MiB songs' lists fit the allocator's reused heap.
constexpr const char* kWildMidiConfig = "/etc/wildmidi/wildmidi.cfg";

const std::vector<std::uint8_t>& song(bool running_status, std::size_t mib) {
  static std::map<std::pair<bool, std::size_t>, std::vector<std::uint8_t>> songs;
  auto& bytes = songs[{running_status, mib}];
  if (bytes.empty()) bytes = zarv::samples::hmp_large_song(mib << 20, running_status);
  return bytes;
}

const std::vector<std::uint8_t>& song_for(const benchmark::State& state) {
  return song(state.range(0) == 0, static_cast<std::size_t>(state.range(1)));
}

void set_label(benchmark::State& state) {
  state.SetLabel(std::string(state.range(0) == 0 ? "running status, " : "explicit status, ") +
                 std::to_string(state.range(1)) + " MiB");
}

void BM_ZarvHmpToSmf(benchmark::State& state) {
  const auto& input = song_for(state);
  for (auto _ : state) {
    auto smf = zarv::convert::music_hmp_to_smf(input);
    if (!smf) {
      state.SkipWithError(smf.error().message().c_str());
      break;
    }
    benchmark::DoNotOptimize(smf->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

void BM_ZarvHmpParse(benchmark::State& state) {
  const auto& input = song_for(state);
  for (auto _ : state) {
    auto parsed = zarv::music::Hmp::parse(input);
    benchmark::DoNotOptimize(parsed->tracks.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

void BM_ZarvSmfEncode(benchmark::State& state) {
  const auto& input = song_for(state);
  const auto parsed = zarv::music::Hmp::parse(input);
  for (auto _ : state) {
    auto smf = parsed->to_smf();
    benchmark::DoNotOptimize(smf.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

void BM_Memcpy(benchmark::State& state) {
  const auto& input = song_for(state);
  std::vector<std::uint8_t> copy(input.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), input.data(), input.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

void BM_WildMidiConvertBufferToMidi(benchmark::State& state) {
  auto input = song_for(state);  // the library takes a non-const buffer
  for (auto _ : state) {
    std::uint8_t* out = nullptr;
    std::uint32_t size = 0;
    if (WildMidi_ConvertBufferToMidi(input.data(), static_cast<std::uint32_t>(input.size()), &out, &size) != 0) {
      const std::string why = std::string("does not convert this HMP song: ") + WildMidi_GetError();
      WildMidi_ClearError();
      state.SkipWithError(why.c_str());
      break;
    }
    benchmark::DoNotOptimize(out);
    std::free(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

// Loading only (the song read into the player's event list): no MIDI file is
// written, so this is a lower bound of what a conversion would cost there.
void BM_WildMidiOpenBuffer(benchmark::State& state) {
  static const bool ready = WildMidi_Init(kWildMidiConfig, 44100, 0) == 0;
  if (!ready) {
    state.SkipWithError("WildMidi_Init failed: no sound patch configuration");
    return;
  }
  auto input = song_for(state);
  for (auto _ : state) {
    midi* handle = WildMidi_OpenBuffer(input.data(), static_cast<std::uint32_t>(input.size()));
    if (handle == nullptr) {
      const std::string why = std::string("does not load this HMP song: ") + WildMidi_GetError();
      WildMidi_ClearError();
      state.SkipWithError(why.c_str());
      break;
    }
    WildMidi_Close(handle);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  set_label(state);
}

void songs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"explicit", "mib"})->Args({0, 8})->Args({1, 8})->Args({0, 1})->Args({1, 1});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_ZarvHmpToSmf)->Apply(songs);
BENCHMARK(BM_ZarvHmpParse)->Apply(songs);
BENCHMARK(BM_ZarvSmfEncode)->Apply(songs);
BENCHMARK(BM_Memcpy)->Args({0, 8})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WildMidiConvertBufferToMidi)->Apply(songs);
BENCHMARK(BM_WildMidiOpenBuffer)->Apply(songs);

}  // namespace

BENCHMARK_MAIN();
