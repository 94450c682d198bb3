#pragma once
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string_view>
#include <utility>

#include <tl/expected.hpp>

#include "codec/byte_buffer.hpp"
#include "zarv/zarv.h"

namespace zarv::ffi {

inline constexpr std::string_view kPanicMessage = "panic: internal error while processing input";
inline constexpr std::string_view kNotUtf8Message = "input is not valid UTF-8 JSON";

// A null pointer is an empty input, whatever the length says.
inline std::span<const std::uint8_t> input_view(const std::uint8_t* data, std::size_t len) {
  if (data == nullptr) return {};
  return {data, len};
}

// A success buffer: the output shrunk to its length and handed over as is.
ZarvBuffer ok_buffer(codec::ByteBuffer&& output);
// An error buffer holding a NUL-terminated copy of the message, each NUL
// byte inside it shown as a space so nothing of the message is lost.
ZarvBuffer error_buffer(std::string_view message) noexcept;
// Releases a buffer built by the two functions above.
void release_buffer(ZarvBuffer buf) noexcept;

bool is_valid_utf8(std::span<const std::uint8_t> bytes);

// Runs one operation and turns its result into a buffer. Anything thrown
// inside (an internal fault, std::bad_alloc) becomes the panic message:
// nothing ever unwinds into the host.
template <class Operation>
ZarvBuffer guarded(Operation&& operation) noexcept {
  try {
    auto result = std::forward<Operation>(operation)();
    if (!result) return error_buffer(result.error().message());
    return ok_buffer(std::move(*result));
  } catch (...) {
    return error_buffer(kPanicMessage);
  }
}

}  // namespace zarv::ffi
