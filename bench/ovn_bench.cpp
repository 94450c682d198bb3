// Code decompression throughput (bytes of code produced per second) on 2 MB
// of generated code, beside memcpy of the same output size, and the whole
// module summary (parse, sizes, four checksums, decompression included).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "convert/operations.hpp"
#include "ovn/code.hpp"
#include "samples/ovn_samples.hpp"

namespace {

constexpr std::size_t kWords = 1 << 20;

const std::vector<std::uint8_t>& code() {
  static const std::vector<std::uint8_t> bytes = zarv::samples::ovn_sample_code(kWords, 2024);
  return bytes;
}

const std::vector<std::uint8_t>& compressed() {
  static const std::vector<std::uint8_t> payload = zarv::samples::compress_ovn_code(code());
  return payload;
}

void BM_CodeDecompress(benchmark::State& state) {
  const auto& payload = compressed();
  for (auto _ : state) {
    auto out = zarv::ovn::Code::decompress(payload, code().size());
    benchmark::DoNotOptimize(out->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code().size()));
  state.counters["code_bytes"] = static_cast<double>(code().size());
  state.counters["payload_bytes"] = static_cast<double>(payload.size());
}
BENCHMARK(BM_CodeDecompress)->Unit(benchmark::kMicrosecond);

void BM_MemcpyCodeSize(benchmark::State& state) {
  const auto& source = code();
  std::vector<std::uint8_t> destination(source.size());
  for (auto _ : state) {
    std::memcpy(destination.data(), source.data(), source.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_MemcpyCodeSize)->Unit(benchmark::kMicrosecond);

void BM_OvnInfoJson(benchmark::State& state) {
  static const std::vector<std::uint8_t> module =
      zarv::samples::ovn_sample_module(code(), std::vector<std::uint8_t>(4096, 0x5A));
  for (auto _ : state) {
    auto json = zarv::convert::ovn_info_json(module);
    benchmark::DoNotOptimize(json->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * module.size()));
}
BENCHMARK(BM_OvnInfoJson)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
