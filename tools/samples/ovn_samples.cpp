#include "samples/ovn_samples.hpp"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace zarv::samples {
namespace {

constexpr std::size_t kCommonHeaderSize = 20;
constexpr std::size_t kHunkHeaderSize = 12;
constexpr std::size_t kTableEntries = 1920;
constexpr std::size_t kShortCodes = 128;

std::uint16_t word_at(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

std::uint16_t byte_sum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (auto b : bytes) sum += b;
  return static_cast<std::uint16_t>(sum);
}

// Nibbles appended high first into bytes.
class NibbleWriter {
 public:
  void put(unsigned nibble) {
    if (high_) {
      bytes_.push_back(static_cast<std::uint8_t>(nibble << 4));
    } else {
      bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | nibble);
    }
    high_ = !high_;
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
  bool high_ = true;
};

// The distinct words of the code, most frequent first (ties by value, so
// the output is deterministic), at most one table's worth.
std::vector<std::uint16_t> frequency_table(std::span<const std::uint8_t> code) {
  std::vector<std::uint32_t> counts(65536, 0);
  for (std::size_t i = 0; i + 1 < code.size(); i += 2) ++counts[word_at(code, i)];
  std::vector<std::uint16_t> words;
  for (std::uint32_t w = 0; w < 65536; ++w) {
    if (counts[w] != 0) words.push_back(static_cast<std::uint16_t>(w));
  }
  std::stable_sort(words.begin(), words.end(), [&](auto a, auto b) { return counts[a] > counts[b]; });
  if (words.size() > kTableEntries) words.resize(kTableEntries);
  return words;
}

}  // namespace

std::vector<std::uint8_t> compress_ovn_code(std::span<const std::uint8_t> code) {
  if (code.size() % 2 != 0) throw std::invalid_argument("compressed code must have an even length");
  const auto table = frequency_table(code);
  std::vector<int> entry_of(65536, -1);
  for (std::size_t i = 0; i < table.size(); ++i) entry_of[table[i]] = static_cast<int>(i);

  NibbleWriter stream;
  for (std::size_t i = 0; i < code.size(); i += 2) {
    const std::uint16_t word = word_at(code, i);
    const int entry = entry_of[word];
    if (entry < 0) {
      stream.put(15);
      for (int shift = 12; shift >= 0; shift -= 4) stream.put((word >> shift) & 15);
    } else if (static_cast<std::size_t>(entry) < kShortCodes) {
      stream.put(static_cast<unsigned>(entry) >> 4);
      stream.put(static_cast<unsigned>(entry) & 15);
    } else {
      const unsigned v = static_cast<unsigned>(entry) + kTableEntries;  // 0x800..0xEFF
      stream.put(v >> 8);
      stream.put((v >> 4) & 15);
      stream.put(v & 15);
    }
  }

  Bytes out(Order::Big);
  out.text("R#R#").u32be(static_cast<std::uint32_t>(code.size() / 2));
  for (std::size_t i = 0; i < kTableEntries; ++i) out.u16be(i < table.size() ? table[i] : 0);
  out.raw(stream.take());
  return out.take();
}

void seal_ovn_header(std::vector<std::uint8_t>& module) {
  const std::size_t n_hunks = word_at(module, 18);
  std::uint32_t sum = 0;
  for (std::size_t i = 4; i < kCommonHeaderSize; ++i) sum += static_cast<std::uint32_t>(i) * module[i];
  for (std::size_t k = 0; k < kHunkHeaderSize * n_hunks; ++k) {
    sum += static_cast<std::uint32_t>(k + 1) * module.at(kCommonHeaderSize + k);
  }
  module[2] = static_cast<std::uint8_t>(sum >> 8);
  module[3] = static_cast<std::uint8_t>(sum);
}

std::vector<std::uint8_t> ovn_module(const std::vector<OvnHunk>& hunks) {
  Bytes out(Order::Big);
  out.u8(0x61).u8(0x60);
  out.u16be(0);                                  // checksum, sealed below
  out.u16be(0x0003);                             // unknown_word
  out.raw(std::array<std::uint8_t, 8>{0x00, 0x01, 0x02, 0x03, 0xA0, 0xB0, 0xC0, 0xD0});  // unknown_bytes
  out.u16be(0x1994).u16be(0x1994);               // build_stamp, build_stamp_dup
  out.u16be(static_cast<std::uint16_t>(hunks.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(kCommonHeaderSize + kHunkHeaderSize * hunks.size());
  for (const auto& hunk : hunks) {
    out.u16be(hunk.type).u16be(hunk.unknown).u32be(offset).u32be(static_cast<std::uint32_t>(hunk.payload.size()));
    offset += static_cast<std::uint32_t>(hunk.payload.size());
  }
  for (const auto& hunk : hunks) out.raw(hunk.payload);
  auto module = out.take();
  seal_ovn_header(module);
  return module;
}

std::vector<std::uint8_t> ovn_bss_payload(std::uint32_t bss_and_jump_mem_size, std::uint32_t data_file_size,
                                          std::span<const std::uint8_t> code,
                                          std::span<const std::uint8_t> guarded) {
  Bytes out(Order::Big);
  out.u32be(bss_and_jump_mem_size);
  out.fill(16, 0);
  out.u32be(static_cast<std::uint32_t>(code.size()));  // offset 20: code_mem_size
  out.u32be(data_file_size);                           // offset 24
  out.fill(6, 0);
  out.u16be(0);  // offset 34: own checksum, filled in below
  out.u16be(byte_sum(code));
  out.u16be(byte_sum(guarded));
  auto payload = out.take();
  std::uint32_t words = 0;
  for (std::size_t i = 0; i + 1 < payload.size(); i += 2) words += word_at(payload, i);
  payload[34] = static_cast<std::uint8_t>(words >> 8);
  payload[35] = static_cast<std::uint8_t>(words);
  return payload;
}

std::vector<std::uint8_t> ovn_sample_module(std::span<const std::uint8_t> code, std::span<const std::uint8_t> guarded) {
  return ovn_module({
      {0x10, ovn_bss_payload(0x00012340, 0x00004000, code, guarded)},
      {0x11, {guarded.begin(), guarded.end()}},
      {0x12, compress_ovn_code(code)},
  });
}

std::vector<std::uint8_t> ovn_sample_code(std::size_t n_words, std::uint32_t seed) {
  std::vector<std::uint8_t> code;
  code.reserve(2 * n_words);
  std::uint32_t state = seed;
  for (std::size_t i = 0; i < n_words; ++i) {
    state = state * 1664525u + 1013904223u;
    // The fourth power of a uniform draw piles most words onto a few small
    // ranks and leaves a tail of rare ones, some beyond the 1920 table
    // entries.
    const std::uint32_t r = (state >> 8) & 0xFFFF;
    const std::uint32_t r2 = (r * r) >> 16;
    const std::uint32_t rank = (r2 * r2) >> 20;  // 0..4095, mostly small
    const std::uint16_t word = static_cast<std::uint16_t>(0x4E71 + rank * 0x0103);
    code.push_back(static_cast<std::uint8_t>(word >> 8));
    code.push_back(static_cast<std::uint8_t>(word));
  }
  return code;
}

void write_ovn_samples(const SampleSink& sink) {
  const auto code = ovn_sample_code(6000);
  std::vector<std::uint8_t> guarded;
  for (int i = 0; i < 512; ++i) guarded.push_back(static_cast<std::uint8_t>(i * 7 + 3));
  auto valid = ovn_sample_module(code, guarded);
  sink("ovn-valid.ovn", valid);

  // Change one byte of the type-0x11 payload (the second hunk's data): its
  // stored checksum no longer matches, everything else still does.
  auto broken = valid;
  const std::size_t guarded_offset = static_cast<std::size_t>(broken[20 + 12 + 4]) << 24 |
                                     static_cast<std::size_t>(broken[20 + 12 + 5]) << 16 |
                                     static_cast<std::size_t>(broken[20 + 12 + 6]) << 8 | broken[20 + 12 + 7];
  broken.at(guarded_offset) ^= 0x5A;
  sink("ovn-broken-checksum.ovn", broken);
}

}  // namespace zarv::samples
