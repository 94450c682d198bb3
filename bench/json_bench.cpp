// The JSON writer and reader on a large generated document (long integer
// arrays as in word lists and tile blocks, plus thousands of small nested
// records), beside simdjson parsing the same text in the same run.
#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codec/record.hpp"
#include "json/record_json.hpp"

namespace bench {

struct Item {
  std::uint32_t id = 0;
  std::string name;
  std::array<std::uint8_t, 16> flags{};
  std::vector<std::uint16_t> values;
  bool active = false;
  std::int32_t delta = 0;
};
ZARV_RECORD(Item, id, name, flags, values, active, delta)

struct Document {
  std::string format;
  std::vector<std::uint16_t> words;
  std::vector<std::uint8_t> tiles;
  std::vector<Item> items;
};
ZARV_RECORD(Document, format, words, tiles, items)

const Document& document() {
  static const Document doc = [] {
    std::mt19937 rng(2024);
    Document d;
    d.format = "zarv-bench";
    d.words.resize(600000);
    for (auto& w : d.words) w = static_cast<std::uint16_t>(rng());
    d.tiles.resize(600000);
    for (auto& t : d.tiles) t = static_cast<std::uint8_t>(rng());
    d.items.resize(12000);
    for (std::size_t i = 0; i < d.items.size(); ++i) {
      Item& item = d.items[i];
      item.id = static_cast<std::uint32_t>(rng());
      item.name = "item " + std::to_string(i);
      for (auto& f : item.flags) f = static_cast<std::uint8_t>(rng() & 3);
      item.values.resize(rng() % 40);
      for (auto& v : item.values) v = static_cast<std::uint16_t>(rng() % 2000);
      item.active = (rng() & 1) != 0;
      item.delta = static_cast<std::int32_t>(rng() % 20001) - 10000;
    }
    return d;
  }();
  return doc;
}

const zarv::codec::ByteBuffer& text() {
  static const zarv::codec::ByteBuffer t = zarv::json::to_pretty_json(document());
  return t;
}

// The writers append to one buffer kept across iterations, so the figures
// show the writer rather than the kernel handing out fresh pages (on this
// kind of virtual machine a page fault costs more than writing the page).
void BM_ZarvWrite(benchmark::State& state) {
  const Document& doc = document();
  zarv::codec::ByteBuffer out;
  for (auto _ : state) {
    out.clear();
    zarv::json::Writer w(out);
    zarv::json::write_value(w, doc);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text().size()));
  state.counters["json_bytes"] = static_cast<double>(text().size());
}
BENCHMARK(BM_ZarvWrite)->Unit(benchmark::kMillisecond);

void BM_ZarvRead(benchmark::State& state) {
  const auto& t = text();
  for (auto _ : state) {
    auto doc = zarv::json::from_json<Document>(t.text());
    if (!doc) state.SkipWithError(doc.error().message().c_str());
    benchmark::DoNotOptimize(doc->items.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_ZarvRead)->Unit(benchmark::kMillisecond);

// Skipping validates every byte but builds nothing: the reader's floor.
void BM_ZarvSkip(benchmark::State& state) {
  const auto& t = text();
  for (auto _ : state) {
    zarv::json::Reader r(t.text());
    if (!r.skip_value() || !r.finish()) state.SkipWithError(r.error().message().c_str());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_ZarvSkip)->Unit(benchmark::kMillisecond);

// One long array of 16-bit words, the shape of the bulk of large documents.
const std::vector<std::uint16_t>& words() {
  static const std::vector<std::uint16_t> w = [] {
    std::mt19937 rng(7);
    std::vector<std::uint16_t> out(4000000);
    for (auto& x : out) x = static_cast<std::uint16_t>(rng());
    return out;
  }();
  return w;
}

const zarv::codec::ByteBuffer& words_text() {
  static const zarv::codec::ByteBuffer t = zarv::json::to_pretty_json(words());
  return t;
}

void BM_ZarvWriteWordArray(benchmark::State& state) {
  zarv::codec::ByteBuffer out;
  for (auto _ : state) {
    out.clear();
    zarv::json::Writer w(out);
    zarv::json::write_value(w, words());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * words_text().size()));
  state.counters["json_bytes"] = static_cast<double>(words_text().size());
}
BENCHMARK(BM_ZarvWriteWordArray)->Unit(benchmark::kMillisecond);

void BM_ZarvReadWordArray(benchmark::State& state) {
  const auto& t = words_text();
  for (auto _ : state) {
    auto w = zarv::json::from_json<std::vector<std::uint16_t>>(t.text());
    if (!w) state.SkipWithError(w.error().message().c_str());
    benchmark::DoNotOptimize(w->data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_ZarvReadWordArray)->Unit(benchmark::kMillisecond);

void BM_SimdjsonOndemandWordArray(benchmark::State& state) {
  const auto& t = words_text();
  simdjson::padded_string padded(t.text());
  simdjson::ondemand::parser parser;
  for (auto _ : state) {
    std::vector<std::uint16_t> w;
    auto doc = parser.iterate(padded);
    for (std::uint64_t v : doc.get_array()) w.push_back(static_cast<std::uint16_t>(v));
    benchmark::DoNotOptimize(w.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_SimdjsonOndemandWordArray)->Unit(benchmark::kMillisecond);

// Touches every value, so the parser cannot leave work undone.
std::uint64_t walk(simdjson::dom::element e) {
  switch (e.type()) {
    case simdjson::dom::element_type::ARRAY: {
      std::uint64_t sum = 0;
      for (auto child : e.get_array()) sum += walk(child);
      return sum;
    }
    case simdjson::dom::element_type::OBJECT: {
      std::uint64_t sum = 0;
      for (auto field : e.get_object()) sum += field.key.size() + walk(field.value);
      return sum;
    }
    case simdjson::dom::element_type::INT64: return static_cast<std::uint64_t>(std::int64_t(e));
    case simdjson::dom::element_type::UINT64: return std::uint64_t(e);
    case simdjson::dom::element_type::STRING: return std::string_view(e).size();
    case simdjson::dom::element_type::BOOL: return bool(e) ? 1 : 0;
    default: return 0;
  }
}

void BM_SimdjsonDom(benchmark::State& state) {
  const auto& t = text();
  simdjson::padded_string padded(t.text());
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element root;
    if (parser.parse(padded).get(root)) state.SkipWithError("simdjson failed");
    benchmark::DoNotOptimize(walk(root));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_SimdjsonDom)->Unit(benchmark::kMillisecond);

// On demand, reading the document into the same structures the zarv reader
// fills, which is the like-for-like comparison.
void BM_SimdjsonOndemandIntoStructs(benchmark::State& state) {
  const auto& t = text();
  simdjson::padded_string padded(t.text());
  simdjson::ondemand::parser parser;
  for (auto _ : state) {
    Document d;
    auto doc = parser.iterate(padded);
    for (auto field : doc.get_object()) {
      std::string_view key = field.unescaped_key();
      if (key == "format") {
        d.format = std::string_view(field.value());
      } else if (key == "words") {
        for (std::uint64_t v : field.value().get_array()) d.words.push_back(static_cast<std::uint16_t>(v));
      } else if (key == "tiles") {
        for (std::uint64_t v : field.value().get_array()) d.tiles.push_back(static_cast<std::uint8_t>(v));
      } else if (key == "items") {
        for (simdjson::ondemand::object o : field.value().get_array()) {
          Item item;
          for (auto member : o) {
            std::string_view k = member.unescaped_key();
            if (k == "id") {
              item.id = static_cast<std::uint32_t>(std::uint64_t(member.value()));
            } else if (k == "name") {
              item.name = std::string_view(member.value());
            } else if (k == "flags") {
              std::size_t i = 0;
              for (std::uint64_t v : member.value().get_array()) item.flags[i++ & 15] = static_cast<std::uint8_t>(v);
            } else if (k == "values") {
              for (std::uint64_t v : member.value().get_array()) item.values.push_back(static_cast<std::uint16_t>(v));
            } else if (k == "active") {
              item.active = bool(member.value());
            } else if (k == "delta") {
              item.delta = static_cast<std::int32_t>(std::int64_t(member.value()));
            }
          }
          d.items.push_back(std::move(item));
        }
      }
    }
    benchmark::DoNotOptimize(d.items.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * t.size()));
}
BENCHMARK(BM_SimdjsonOndemandIntoStructs)->Unit(benchmark::kMillisecond);

}  // namespace bench

BENCHMARK_MAIN();
