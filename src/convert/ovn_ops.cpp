#include <algorithm>

#include "convert/operations.hpp"
#include "json/writer.hpp"
#include "ovn/ovn.hpp"

namespace zarv::convert {

Output ovn_info_json(Bytes bytes) {
  auto ovn = ovn::Ovn::parse(bytes);
  if (!ovn) return tl::unexpected(ConvertError(std::move(ovn.error())));
  auto bss = ovn->bss();
  if (!bss) return tl::unexpected(ConvertError(std::move(bss.error())));
  const bool checksums_ok = ovn->verify_checksums().all_valid();

  codec::ByteBuffer out;
  out.reserve(160);
  json::Writer writer(out);
  writer.begin_object();
  writer.key("n_hunks");
  writer.uint_value(ovn->header().n_hunks);
  writer.key("bss_and_jump_mem_size");
  writer.uint_value(bss->bss_and_jump_mem_size());
  writer.key("code_mem_size");
  writer.uint_value(bss->code_mem_size());
  writer.key("data_file_size");
  writer.uint_value(bss->data_file_size());
  writer.key("checksums_ok");
  writer.bool_value(checksums_ok);
  writer.end_object();
  return out;
}

tl::expected<bool, ConvertError> ovn_roundtrip_ok(Bytes bytes) {
  auto ovn = ovn::Ovn::parse(bytes);
  if (!ovn) return tl::unexpected(ConvertError(std::move(ovn.error())));
  // Hunks that share their bytes are written once each, so the output can
  // dwarf the input; a length that already differs settles the answer
  // without writing anything.
  if (ovn->written_size() != bytes.size()) return false;
  const auto written = ovn->to_bytes();
  return std::equal(written.begin(), written.end(), bytes.begin(), bytes.end());
}

}  // namespace zarv::convert
