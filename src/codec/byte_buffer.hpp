#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace zarv::codec {

// An owned, growable byte sequence kept in one malloc'd block, so that a
// finished output can be shrunk in place and handed to a C host without a
// copy (release()). Every output of the library is built in one of these.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::size_t zero_filled_size);
  explicit ByteBuffer(std::span<const std::uint8_t> bytes);
  ByteBuffer(const ByteBuffer& other);
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(const ByteBuffer& other);
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ~ByteBuffer();

  std::uint8_t* data() { return data_; }
  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }

  std::uint8_t& operator[](std::size_t i) { return data_[i]; }
  std::uint8_t operator[](std::size_t i) const { return data_[i]; }
  std::uint8_t* begin() { return data_; }
  std::uint8_t* end() { return data_ + size_; }
  const std::uint8_t* begin() const { return data_; }
  const std::uint8_t* end() const { return data_ + size_; }

  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  std::string_view text() const { return {reinterpret_cast<const char*>(data_), size_}; }

  void reserve(std::size_t n) {
    if (n > capacity_) grow_to(n);
  }
  // Grows or shrinks; new bytes are zero.
  void resize(std::size_t n);
  void clear() { size_ = 0; }

  void push_back(std::uint8_t b) {
    if (size_ == capacity_) grow_for(1);
    data_[size_++] = b;
  }
  void append(const void* p, std::size_t n) {
    if (n == 0) return;
    if (capacity_ - size_ < n) grow_for(n);
    std::memcpy(data_ + size_, p, n);
    size_ += n;
  }
  void append(std::span<const std::uint8_t> bytes) { append(bytes.data(), bytes.size()); }
  void append(std::string_view text) { append(text.data(), text.size()); }
  // Appends n copies of b.
  void append_fill(std::size_t n, std::uint8_t b);
  // Makes room for n more bytes and returns where they start; the caller
  // writes them and then calls commit(n).
  std::uint8_t* prepare(std::size_t n) {
    if (capacity_ - size_ < n) grow_for(n);
    return data_ + size_;
  }
  void commit(std::size_t n) { size_ += n; }

  // Shrinks the allocation to the size (keeping a non-null block when empty).
  void shrink_to_fit();
  // Gives up ownership of the malloc'd block (null when nothing was ever
  // allocated); the caller frees it with free().
  std::uint8_t* release();

  friend bool operator==(const ByteBuffer& a, const ByteBuffer& b);

 private:
  void grow_for(std::size_t extra);
  void grow_to(std::size_t capacity);

  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace zarv::codec
