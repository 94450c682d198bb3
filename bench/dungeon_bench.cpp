// Dungeon file <-> lossless JSON on a large generated dungeon (128 maps of up
// to 32 x 32 squares, thousands of records), beside memcpy of the JSON's
// size and beside simdjson parsing the same JSON text.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <cstring>
#include <vector>

#include "convert/operations.hpp"
#include "samples/dungeon_samples.hpp"

namespace {

const std::vector<std::uint8_t>& large_dungeon() {
  static const std::vector<std::uint8_t> file = [] {
    auto model = zarv::samples::random_dungeon(2024, zarv::samples::Order::Little, 128, 32, 9000, true);
    return zarv::samples::build_dungeon(model);
  }();
  return file;
}

const zarv::codec::ByteBuffer& large_json() {
  static const zarv::codec::ByteBuffer text = *zarv::convert::dungeon_to_json(large_dungeon());
  return text;
}

void BM_DungeonToJson(benchmark::State& state) {
  const auto& file = large_dungeon();
  for (auto _ : state) {
    auto text = zarv::convert::dungeon_to_json(file);
    benchmark::DoNotOptimize(text->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * large_json().size()));
  state.counters["json_bytes"] = static_cast<double>(large_json().size());
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_DungeonToJson)->Unit(benchmark::kMillisecond);

void BM_MemcpyJsonSize(benchmark::State& state) {
  const auto& text = large_json();
  std::vector<std::uint8_t> destination(text.size());
  for (auto _ : state) {
    std::memcpy(destination.data(), text.data(), text.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MemcpyJsonSize)->Unit(benchmark::kMillisecond);

void BM_JsonToDungeon(benchmark::State& state) {
  const auto& text = large_json();
  for (auto _ : state) {
    auto file = zarv::convert::dungeon_from_json(text.bytes());
    benchmark::DoNotOptimize(file->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_JsonToDungeon)->Unit(benchmark::kMillisecond);

// simdjson parsing the same text and touching every number, the reference
// for how fast JSON of this shape can be read at all.
void visit(simdjson::dom::element e, std::uint64_t& sum) {
  switch (e.type()) {
    case simdjson::dom::element_type::ARRAY:
      for (auto child : e.get_array()) visit(child, sum);
      break;
    case simdjson::dom::element_type::OBJECT:
      for (auto field : e.get_object()) visit(field.value, sum);
      break;
    case simdjson::dom::element_type::UINT64:
      sum += e.get_uint64().value_unsafe();
      break;
    case simdjson::dom::element_type::INT64:
      sum += static_cast<std::uint64_t>(e.get_int64().value_unsafe());
      break;
    case simdjson::dom::element_type::STRING:
      sum += e.get_string().value_unsafe().size();
      break;
    default:
      break;
  }
}

void BM_SimdjsonParseSameText(benchmark::State& state) {
  const auto& text = large_json();
  simdjson::padded_string padded(reinterpret_cast<const char*>(text.data()), text.size());
  simdjson::dom::parser parser;
  for (auto _ : state) {
    std::uint64_t sum = 0;
    visit(parser.parse(padded).value(), sum);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SimdjsonParseSameText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
