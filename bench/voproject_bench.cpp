// The editor-project export beside the lossless export on a large generated
// dungeon: 60 maps of 32 x 32 squares, as many as fit the 16-bit body
// offsets without overlapping (overlapping bodies would break the
// generator's object chains), with thousands of objects. The parse alone,
// which both exports start with, is measured too, so the documents' own
// share shows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "convert/operations.hpp"
#include "dungeon/dungeon.hpp"
#include "dungeon/json/voproject.hpp"
#include "samples/dungeon_samples.hpp"

namespace {

constexpr unsigned kMaps = 60;

const std::vector<std::uint8_t>& large_dungeon() {
  static const std::vector<std::uint8_t> file = [] {
    auto model = zarv::samples::random_dungeon(2024, zarv::samples::Order::Little, kMaps, 32, 9000, true);
    return zarv::samples::build_dungeon(model);
  }();
  return file;
}

// Output sizes, and a check that the generated dungeon exports at all.
std::size_t output_size(zarv::convert::Output (*convert)(zarv::convert::Bytes)) {
  auto out = convert(large_dungeon());
  if (!out) {
    std::fprintf(stderr, "the generated dungeon does not export: %s\n", out.error().message().c_str());
    std::abort();
  }
  return out->size();
}

std::size_t object_count() {
  auto dungeon = zarv::dungeon::Dungeon::parse(large_dungeon(), zarv::codec::ByteOrder::Little);
  return zarv::dungeon::build(*dungeon)->objs.size();
}

void report(benchmark::State& state, std::size_t json_bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json_bytes));
  state.counters["json_bytes"] = static_cast<double>(json_bytes);
  state.counters["file_bytes"] = static_cast<double>(large_dungeon().size());
}

void BM_VoprojectJson(benchmark::State& state) {
  const auto& file = large_dungeon();
  const std::size_t size = output_size(zarv::convert::dungeon_voproject_json);
  for (auto _ : state) {
    auto text = zarv::convert::dungeon_voproject_json(file);
    benchmark::DoNotOptimize(text->data());
  }
  report(state, size);
  state.counters["objects"] = static_cast<double>(object_count());
}
BENCHMARK(BM_VoprojectJson)->Unit(benchmark::kMillisecond);

void BM_LosslessJson(benchmark::State& state) {
  const auto& file = large_dungeon();
  const std::size_t size = output_size(zarv::convert::dungeon_to_json);
  for (auto _ : state) {
    auto text = zarv::convert::dungeon_to_json(file);
    benchmark::DoNotOptimize(text->data());
  }
  report(state, size);
}
BENCHMARK(BM_LosslessJson)->Unit(benchmark::kMillisecond);

void BM_ParseOnly(benchmark::State& state) {
  const auto& file = large_dungeon();
  for (auto _ : state) {
    auto dungeon = zarv::dungeon::Dungeon::parse(file, zarv::codec::ByteOrder::Little);
    benchmark::DoNotOptimize(dungeon->map_bodies.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
