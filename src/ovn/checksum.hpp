#pragma once
#include <cstdint>

namespace zarv::ovn {

enum class CheckStatus : std::uint16_t { Valid = 0, Mismatch = 1, NotChecked = 2 };

// One checksum: what the module stores and what its bytes add up to. Both
// values are 0 when the check could not be made.
struct ChecksumCheck {
  CheckStatus status = CheckStatus::NotChecked;
  std::uint16_t stored = 0;
  std::uint16_t computed = 0;

  static ChecksumCheck compare(std::uint16_t stored, std::uint16_t computed) {
    return {stored == computed ? CheckStatus::Valid : CheckStatus::Mismatch, stored, computed};
  }
};

// The four checksums of a module, in the order the module relies on them.
struct ChecksumReport {
  ChecksumCheck header;        // common header and hunk table
  ChecksumCheck bss_hunk;      // the type-0x10 hunk's own words
  ChecksumCheck guarded_hunk;  // the type-0x11 hunk's bytes
  ChecksumCheck code;          // the decompressed code's bytes

  // True only when every check was made and matched: a module missing its
  // type-0x11 or code hunk is not valid.
  bool all_valid() const {
    return header.status == CheckStatus::Valid && bss_hunk.status == CheckStatus::Valid &&
           guarded_hunk.status == CheckStatus::Valid && code.status == CheckStatus::Valid;
  }
};

}  // namespace zarv::ovn
