#include "codec/byte_buffer.hpp"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

namespace zarv::codec {

ByteBuffer::ByteBuffer(std::size_t zero_filled_size) { resize(zero_filled_size); }

ByteBuffer::ByteBuffer(std::span<const std::uint8_t> bytes) { append(bytes); }

ByteBuffer::ByteBuffer(const ByteBuffer& other) { append(other.bytes()); }

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
  if (this != &other) {
    clear();
    append(other.bytes());
  }
  return *this;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { std::free(data_); }

void ByteBuffer::resize(std::size_t n) {
  if (n > size_) {
    reserve(n);
    std::memset(data_ + size_, 0, n - size_);
  }
  size_ = n;
}

void ByteBuffer::append_fill(std::size_t n, std::uint8_t b) {
  std::memset(prepare(n), b, n);
  size_ += n;
}

void ByteBuffer::grow_for(std::size_t extra) {
  if (extra > std::numeric_limits<std::size_t>::max() - size_) throw std::bad_alloc();
  std::size_t needed = size_ + extra;
  std::size_t doubled = capacity_ > std::numeric_limits<std::size_t>::max() / 2 ? needed : capacity_ * 2;
  grow_to(std::max({needed, doubled, std::size_t{64}}));
}

void ByteBuffer::grow_to(std::size_t capacity) {
  void* p = std::realloc(data_, capacity);
  if (p == nullptr) throw std::bad_alloc();
  data_ = static_cast<std::uint8_t*>(p);
  capacity_ = capacity;
}

void ByteBuffer::shrink_to_fit() {
  if (capacity_ == size_ && data_ != nullptr) return;
  // realloc(p, 0) may free; keep one byte so an empty result still has a
  // block of its own.
  std::size_t keep = size_ == 0 ? 1 : size_;
  void* p = std::realloc(data_, keep);
  if (p == nullptr) throw std::bad_alloc();
  data_ = static_cast<std::uint8_t*>(p);
  capacity_ = keep;
}

std::uint8_t* ByteBuffer::release() {
  size_ = 0;
  capacity_ = 0;
  return std::exchange(data_, nullptr);
}

bool operator==(const ByteBuffer& a, const ByteBuffer& b) {
  return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.data_, b.data_, a.size_) == 0);
}

}  // namespace zarv::codec
