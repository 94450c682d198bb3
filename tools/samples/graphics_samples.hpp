#pragma once
#include "samples/bytes.hpp"

namespace zarv::samples {

// Graphics archives: the signature word, the item size table, the index
// (item 0) and the items.
void write_graphics_samples(const SampleSink& sink);

// A minimal archive of the given format (4 or 5): an index with no entries.
std::vector<std::uint8_t> empty_graphics_archive(Order order, std::uint16_t format_version);

}  // namespace zarv::samples
