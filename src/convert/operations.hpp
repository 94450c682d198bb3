#pragma once
// One conversion operation behind each export. Each takes the input bytes
// (and its selection arguments) and returns the finished output or the
// first failure; nothing partial is ever returned.
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "convert/convert_error.hpp"

namespace zarv::convert {

using Bytes = std::span<const std::uint8_t>;
using Output = tl::expected<codec::ByteBuffer, ConvertError>;

// A dungeon file as the lossless JSON document, and back byte for byte.
Output dungeon_to_json(Bytes bytes);
Output dungeon_from_json(Bytes text);
// A dungeon file as the editor-project document: maps with named
// properties and per-square object references, and every object reachable
// from a square, decoded and listed depth first.
Output dungeon_voproject_json(Bytes bytes);

// The graphics archive's signature summarised as JSON: format_version,
// byte_order ("LE" or "BE") and entry_count. Reads only four bytes.
Output graphics_header_json(Bytes bytes);
// One image of a graphics archive, chosen by its class numbers, composed
// over its underlays, coloured with its palette and written as PNG. Fails
// with the archive's error, "graphics image decode failed: ..." or
// ImageNotFound (no record, no usable payload chain, no palette).
Output graphics_decode_png(Bytes bytes, std::uint8_t cls1, std::uint8_t cls2, std::uint8_t cls4);

// The music container's short tag as bare text: "hmp", "mod",
// "modplayer41a" or "smf".
Output music_detect(Bytes bytes);
// An HMP song as a format-1 Standard MIDI File.
Output music_hmp_to_smf(Bytes bytes);

// A hunk executable summarised as JSON: n_hunks, the three memory sizes of
// its type-0x10 hunk and checksums_ok (all four checksums valid).
Output ovn_info_json(Bytes bytes);
// True when the parsed module writes back identical to the input; an input
// that does not parse is an error.
tl::expected<bool, ConvertError> ovn_roundtrip_ok(Bytes bytes);

}  // namespace zarv::convert
