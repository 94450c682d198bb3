#include "convert/operations.hpp"
#include "graphics/archive.hpp"
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

Output graphics_decode_png(Bytes bytes, std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls4) {
  auto archive = graphics::Archive::parse(bytes);
  if (!archive) return tl::unexpected(ConvertError(std::move(archive.error())));
  auto decoded = archive->decode_image(cls1, cls2, cls4);
  if (!decoded) return tl::unexpected(ConvertError(ImageDecode{decoded.error().message()}));
  if (!*decoded) return tl::unexpected(ConvertError(ImageNotFound{}));
  // An image PNG cannot hold (zero width or height) throws from here; the
  // export's guard reports it.
  return (*decoded)->image.to_png((*decoded)->palette);
}

}  // namespace zarv::convert
