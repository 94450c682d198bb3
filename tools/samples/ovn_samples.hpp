#pragma once
// Hunk executables built from their layout: common header, hunk table and
// payloads, with the four checksums computed here independently of the
// library, and a small compressor for the nibble-coded program code.
#include <cstdint>
#include <span>
#include <vector>

#include "samples/bytes.hpp"

namespace zarv::samples {

struct OvnHunk {
  std::uint16_t type = 0;
  std::vector<std::uint8_t> payload;
  std::uint16_t unknown = 0;
};

// A module laid out as the game lays them out: the payloads follow the table
// back to back in hunk order, and the header checksum is filled in.
std::vector<std::uint8_t> ovn_module(const std::vector<OvnHunk>& hunks);

// Recomputes the header checksum (bytes 2 and 3) over bytes 4..19 and the
// hunk table, after a test or sample changed them.
void seal_ovn_header(std::vector<std::uint8_t>& module);

// The 40-byte type-0x10 payload: the memory sizes, the code's length, and
// the checksums of the code, of the type-0x11 payload and of its own words.
std::vector<std::uint8_t> ovn_bss_payload(std::uint32_t bss_and_jump_mem_size, std::uint32_t data_file_size,
                                          std::span<const std::uint8_t> code,
                                          std::span<const std::uint8_t> guarded);

// Compresses code of an even length: magic, word count, a frequency table of
// the 1920 most common words, then the nibble stream (two nibbles for the
// 128 most common words, three for the rest of the table, five for a
// literal).
std::vector<std::uint8_t> compress_ovn_code(std::span<const std::uint8_t> code);

// A complete module: a type-0x10, a type-0x11 and a compressed type-0x12
// hunk, every checksum valid.
std::vector<std::uint8_t> ovn_sample_module(std::span<const std::uint8_t> code, std::span<const std::uint8_t> guarded);

// Deterministic stand-in program code of n_words words, skewed like real
// code: a few very common words and a long tail, enough for all three code
// lengths.
std::vector<std::uint8_t> ovn_sample_code(std::size_t n_words, std::uint32_t seed = 1);

// ovn-valid.ovn (checksums all valid) and ovn-broken-checksum.ovn (one byte
// of the type-0x11 hunk changed after sealing).
void write_ovn_samples(const SampleSink& sink);

}  // namespace zarv::samples
