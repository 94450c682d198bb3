#include "convert/operations.hpp"
#include "graphics/signature.hpp"
#include "json/writer.hpp"

namespace zarv::convert {

Output graphics_header_json(Bytes bytes) {
  auto signature = graphics::read_signature(bytes);
  if (!signature) return tl::unexpected(ConvertError(std::move(signature.error())));
  codec::ByteBuffer out;
  json::Writer writer(out);
  writer.begin_object();
  writer.key("format_version");
  writer.uint_value(signature->format_version());
  writer.key("byte_order");
  writer.string_value(signature->byte_order == codec::ByteOrder::Little ? "LE" : "BE");
  writer.key("entry_count");
  writer.uint_value(signature->entry_count);
  writer.end_object();
  return out;
}

}  // namespace zarv::convert
