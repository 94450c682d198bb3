#include "ovn/ovn.hpp"

#include <algorithm>
#include <cstring>

#include "codec/byte_cursor.hpp"
#include "codec/record.hpp"

namespace zarv::ovn {
namespace {

bool starts_with_magic(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= kMagic.size() && std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) == 0;
}

// Reads n hunk headers. The table has no frame of its own: a short table
// fails with the frame of the HunkHeader field that ran out.
tl::expected<std::vector<HunkHeader>, codec::RecordError> read_hunk_table(codec::ByteCursor& cursor, std::size_t n) {
  std::vector<HunkHeader> hunks;
  // A count from the file is only trusted as far as the bytes go.
  hunks.reserve(std::min(n, cursor.remaining() / HunkHeader::kSize + 1));
  for (std::size_t i = 0; i < n; ++i) {
    auto hunk = codec::read_record<HunkHeader>(cursor);
    if (!hunk) return tl::unexpected(std::move(hunk.error()));
    hunks.push_back(*hunk);
  }
  return hunks;
}

// Appends a record in the byte order its declaration fixes.
template <codec::FixedOrderRecord T>
void append_record(codec::ByteBuffer& out, const T& record) {
  codec::write_record(out, record, zarv_record_byte_order(&record));
}

}  // namespace

tl::expected<Ovn, Error> Ovn::parse(std::span<const std::uint8_t> bytes) {
  if (!starts_with_magic(bytes)) return tl::unexpected(Error(BadMagic{}));
  codec::ByteCursor cursor(bytes, kMagic.size());
  auto header = codec::read_record<CommonHeader>(cursor);
  if (!header) return tl::unexpected(Error(std::move(header.error())));
  auto hunks = read_hunk_table(cursor, header->n_hunks);
  if (!hunks) return tl::unexpected(Error(std::move(hunks.error())));

  Ovn ovn;
  ovn.header_ = *header;
  ovn.hunks_ = std::move(*hunks);
  ovn.input_ = bytes;
  ovn.payloads_.reserve(ovn.hunks_.size());
  for (std::size_t i = 0; i < ovn.hunks_.size(); ++i) {
    const HunkHeader& hunk = ovn.hunks_[i];
    const std::uint64_t start = hunk.file_off;
    const std::uint64_t end = start + hunk.size;  // both are 32-bit: no overflow in 64 bits
    if (end > bytes.size()) return tl::unexpected(Error(HunkOutOfBounds{i, start, end, bytes.size()}));
    ovn.payloads_.push_back(bytes.subspan(hunk.file_off, hunk.size));
  }
  return ovn;
}

std::uint64_t Ovn::written_size() const {
  std::uint64_t total = CommonHeader::kFileSize + std::uint64_t{HunkHeader::kSize} * hunks_.size();
  for (const auto& payload : payloads_) total += payload.size();
  return total;
}

codec::ByteBuffer Ovn::to_bytes() const {
  codec::ByteBuffer out;
  out.reserve(static_cast<std::size_t>(written_size()));
  out.append(kMagic);
  append_record(out, header_);
  for (const auto& hunk : hunks_) append_record(out, hunk);
  for (const auto& payload : payloads_) out.append(payload);
  return out;
}

std::optional<std::size_t> Ovn::first_hunk(std::uint16_t hunk_type) const {
  for (std::size_t i = 0; i < hunks_.size(); ++i) {
    if (hunks_[i].hunk_type == hunk_type) return i;
  }
  return std::nullopt;
}

tl::expected<Bss, Error> Ovn::bss() const {
  const auto index = first_hunk(kBssHunk);
  if (!index) return tl::unexpected(Error(NoHunk{kBssHunk}));
  const auto payload = payloads_[*index];
  if (payload.size() < Bss::kMinSize) return tl::unexpected(Error(PayloadTooShort{Bss::kMinSize, payload.size()}));
  return Bss(payload);
}

}  // namespace zarv::ovn
