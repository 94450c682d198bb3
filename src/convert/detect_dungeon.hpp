#pragma once
#include <cstdint>
#include <span>

#include <tl/expected.hpp>

#include "codec/byte_order.hpp"
#include "convert/convert_error.hpp"

namespace zarv::convert {

// The byte order of a dungeon file: the first order (little, then big) whose
// header reads, is plausible, and whose declared sections fit in the file.
// Fails with UnrecognizedDungeon; the failed attempts' errors are dropped.
tl::expected<codec::ByteOrder, ConvertError> detect_dungeon(std::span<const std::uint8_t> bytes);

}  // namespace zarv::convert
