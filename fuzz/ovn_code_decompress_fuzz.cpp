// The code decompressor on its own, which the module exports reach only
// through a well-formed sizes hunk. The first two input bytes give the word
// count, the rest is the nibble stream; the table maps entry i to the word
// i. The result is compared with a plain nibble-by-nibble decoding.
#include <cstdint>
#include <optional>
#include <vector>

#include "fuzz_support.hpp"
#include "ovn/code.hpp"

namespace {

std::optional<std::vector<uint8_t>> reference_decode(const uint8_t* stream, size_t n_bytes, uint32_t n_words) {
  std::vector<uint8_t> out;
  size_t pos = 0;
  auto nibble = [&](size_t i) -> std::optional<unsigned> {
    if (i >= 2 * n_bytes) return std::nullopt;
    return (i & 1) ? stream[i / 2] & 15u : stream[i / 2] >> 4u;
  };
  for (uint32_t w = 0; w < n_words; ++w) {
    auto c = nibble(pos);
    if (!c) return std::nullopt;
    const unsigned length = *c < 8 ? 2 : *c < 15 ? 3 : 5;
    uint32_t code = 0;
    for (unsigned k = 0; k < length; ++k) {
      auto n = nibble(pos + k);
      if (!n) return std::nullopt;
      code = code << 4 | *n;
    }
    pos += length;
    const uint32_t word = length == 2 ? code : length == 3 ? code - 1920 : code & 0xFFFF;
    out.push_back(static_cast<uint8_t>(word >> 8));
    out.push_back(static_cast<uint8_t>(word));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t n_words = static_cast<uint32_t>(data[0] << 8 | data[1]);
  std::vector<uint8_t> payload = {'R', '#', 'R', '#', 0, 0, data[0], data[1]};
  for (unsigned i = 0; i < zarv::ovn::kCodeTableEntries; ++i) {
    payload.push_back(static_cast<uint8_t>(i >> 8));
    payload.push_back(static_cast<uint8_t>(i));
  }
  payload.insert(payload.end(), data + 2, data + size);

  auto decoded = zarv::ovn::decompress_nibble_stream(payload);
  const auto expected = reference_decode(data + 2, size - 2, n_words);
  require(decoded.has_value() == expected.has_value(), "decoder and reference disagree on success");
  if (decoded) {
    require(decoded->size() == 2 * size_t{n_words}, "wrong output length");
    require(std::vector<uint8_t>(decoded->begin(), decoded->end()) == *expected, "decoder and reference differ");
  }
  return 0;
}
