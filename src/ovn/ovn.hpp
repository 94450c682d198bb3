#pragma once
// A parsed hunk executable: the common header, the hunk table and one view
// per hunk payload. The payload views and the whole-input view borrow the
// caller's bytes, so an Ovn must not outlive its input.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "ovn/bss.hpp"
#include "ovn/checksum.hpp"
#include "ovn/error.hpp"
#include "ovn/header.hpp"

namespace zarv::ovn {

class Ovn {
 public:
  // Checks the magic, reads the common header and the hunk table, and checks
  // every payload range against the file. Errors: BadMagic, a record error
  // naming the field that ran out, HunkOutOfBounds for the first hunk whose
  // range passes the end. Payloads may overlap or leave gaps.
  static tl::expected<Ovn, Error> parse(std::span<const std::uint8_t> bytes);

  // The module written from its parts: magic, common header and hunk table
  // as read (file offsets are not recomputed), then each payload in hunk
  // order without gaps. Equals the input exactly when the input was laid out
  // that way.
  codec::ByteBuffer to_bytes() const;
  // The length to_bytes() will produce, known without writing anything
  // (overlapping hunks can make it far larger than the input).
  std::uint64_t written_size() const;

  // The four checksums; never fails (a check that cannot be made is
  // NotChecked).
  ChecksumReport verify_checksums() const;

  // The first type-0x10 hunk as a Bss view. Errors: NoHunk, PayloadTooShort.
  tl::expected<Bss, Error> bss() const;

  // Index of the first hunk of a type, in hunk order.
  std::optional<std::size_t> first_hunk(std::uint16_t hunk_type) const;

  const CommonHeader& header() const { return header_; }
  const std::vector<HunkHeader>& hunks() const { return hunks_; }
  const std::vector<std::span<const std::uint8_t>>& payloads() const { return payloads_; }
  std::span<const std::uint8_t> input() const { return input_; }

 private:
  CommonHeader header_;
  std::vector<HunkHeader> hunks_;
  std::vector<std::span<const std::uint8_t>> payloads_;
  std::span<const std::uint8_t> input_;
};

}  // namespace zarv::ovn
