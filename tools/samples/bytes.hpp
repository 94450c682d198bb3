#pragma once
// A tiny byte writer for building sample files from their layouts. It is
// deliberately independent of the library's own writers, so that files made
// here check the library rather than echo it.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zarv::samples {

enum class Order { Little, Big };

class Bytes {
 public:
  explicit Bytes(Order order = Order::Little) : order_(order) {}

  Bytes& u8(std::uint8_t v);
  Bytes& u16(std::uint16_t v);
  Bytes& u32(std::uint32_t v);
  Bytes& u16be(std::uint16_t v);
  Bytes& u32be(std::uint32_t v);
  Bytes& raw(std::span<const std::uint8_t> bytes);
  Bytes& text(std::string_view ascii);
  Bytes& fill(std::size_t n, std::uint8_t v);
  // Overwrites a 16- or 32-bit value at an earlier offset, in the order.
  void patch_u16(std::size_t at, std::uint16_t v);
  void patch_u32(std::size_t at, std::uint32_t v);

  std::size_t size() const { return data_.size(); }
  Order order() const { return order_; }
  const std::vector<std::uint8_t>& data() const { return data_; }
  std::vector<std::uint8_t> take() { return std::move(data_); }

 private:
  Order order_;
  std::vector<std::uint8_t> data_;
};

// Receives each sample: its file name and its bytes.
using SampleSink = std::function<void(const std::string& name, const std::vector<std::uint8_t>& bytes)>;

}  // namespace zarv::samples
