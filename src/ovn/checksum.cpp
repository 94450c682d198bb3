#include "ovn/checksum.hpp"

#include "codec/byte_cursor.hpp"
#include "ovn/code.hpp"
#include "ovn/ovn.hpp"

namespace zarv::ovn {
namespace {

// All sums wrap at 16 bits. They are accumulated in 32 bits, which wraps at
// a multiple of 65536, and truncated once at the end.
std::uint16_t byte_sum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint16_t>(sum);
}

// Each byte times its weight, the weights counting up from first_weight.
std::uint32_t weighted_sum(std::span<const std::uint8_t> bytes, std::uint32_t first_weight) {
  std::uint32_t sum = 0;
  std::uint32_t weight = first_weight;
  for (std::uint8_t b : bytes) sum += weight++ * b;
  return sum;
}

// Bytes 4..19 weighted by their file offsets, then the hunk table weighted
// from 1 again. The magic and the stored checksum (bytes 0..3) stay out.
std::uint16_t header_sum(const Ovn& ovn) {
  constexpr std::size_t kFirstSummed = 4;
  const auto input = ovn.input();
  const auto header_bytes = input.subspan(kFirstSummed, CommonHeader::kFileSize - kFirstSummed);
  const auto table = input.subspan(CommonHeader::kFileSize, HunkHeader::kSize * ovn.hunks().size());
  return static_cast<std::uint16_t>(weighted_sum(header_bytes, kFirstSummed) + weighted_sum(table, 1));
}

// The sum of the payload's big-endian words (an odd last byte is left out)
// without the stored checksum word.
std::uint16_t bss_words_sum(const Bss& bss) {
  const auto payload = bss.payload();
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < payload.size(); i += 2) {
    sum += codec::load<std::uint16_t>(payload.data() + i, codec::ByteOrder::Big);
  }
  return static_cast<std::uint16_t>(sum - bss.own_checksum());
}

ChecksumCheck check_guarded_hunk(const Ovn& ovn, const Bss& bss) {
  const auto index = ovn.first_hunk(kGuardedHunk);
  if (!index) return {};
  return ChecksumCheck::compare(bss.guarded_hunk_checksum(), byte_sum(ovn.payloads()[*index]));
}

// Code that cannot be decompressed to the size the module declares is not
// an error here: the check is simply not made.
ChecksumCheck check_code(const Ovn& ovn, const Bss& bss) {
  const auto index = ovn.first_hunk(kCodeHunk);
  if (!index) return {};
  const auto code = Code::decompress(ovn.payloads()[*index], bss.code_mem_size());
  if (!code) return {};
  return ChecksumCheck::compare(bss.code_checksum(), byte_sum(code->bytes()));
}

}  // namespace

ChecksumReport Ovn::verify_checksums() const {
  ChecksumReport report;
  report.header = ChecksumCheck::compare(header_.checksum, header_sum(*this));
  const auto bss_view = bss();
  if (!bss_view) return report;
  report.bss_hunk = ChecksumCheck::compare(bss_view->own_checksum(), bss_words_sum(*bss_view));
  report.guarded_hunk = check_guarded_hunk(*this, *bss_view);
  report.code = check_code(*this, *bss_view);
  return report;
}

}  // namespace zarv::ovn
