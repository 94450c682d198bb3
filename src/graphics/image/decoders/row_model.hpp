#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zarv::graphics {

// The output side of the two nibble codecs. Pixels go into a zero-filled
// buffer of stride x height bytes (stride: width rounded up to even). A run
// of k pixels walks the visible columns only: it wraps from the end of one
// row's visible part to the start of the next, never writes the padding
// column, and is cut off at the end of the buffer. Runs are handed to a
// block writer one contiguous slice at a time, never pixel by pixel.
//
// The quirks are the format's, kept because stored images depend on them:
// R (pixels left in the row) never goes below 0, and a copy from the row
// above while still in the first row only advances, without the row wrap.
class RowWriter {
 public:
  RowWriter(std::uint8_t* buffer, std::size_t size, std::size_t width, std::size_t stride)
      : buffer_(buffer), size_(size), width_(width), pad_(stride - width), stride_(stride), left_(width) {}

  // The buffer is full: decoding ends.
  bool full() const { return pos_ >= size_; }
  std::size_t position() const { return pos_; }

  void fill(std::size_t k, std::uint8_t colour) {
    emit(k, [this, colour](std::size_t p, std::size_t n) { std::memset(buffer_ + p, colour, n); });
  }

  void skip(std::size_t k) {
    emit(k, [](std::size_t, std::size_t) {});
  }

  // Each emitted pixel takes the value one row above it. In the first row
  // there is nothing above: the position only advances.
  void copy_from_row_above(std::size_t k) {
    if (pos_ < stride_) {
      pos_ += pos_ < size_ ? std::min(k, size_ - pos_) : 0;
      left_ = left_ > k ? left_ - k : 0;
      return;
    }
    emit(k, [this](std::size_t p, std::size_t n) { copy_forward(p - stride_, p, n); });
  }

  // Each emitted pixel takes the pixel at the same row and column of an
  // unpadded width x height image (padding columns are left as they are).
  void take_from(const std::uint8_t* image, std::size_t k) {
    emit(k, [this, image](std::size_t p, std::size_t n) {
      const std::size_t end = p + n;
      while (p < end) {
        const std::size_t row = p / stride_;
        const std::size_t column = p % stride_;
        if (column >= width_) {
          ++p;
          continue;
        }
        const std::size_t m = std::min(width_ - column, end - p);
        std::memcpy(buffer_ + p, image + row * width_ + column, m);
        p += m;
      }
    });
  }

 private:
  template <class Block>
  void emit(std::size_t k, Block&& block) {
    if (width_ == 0) return;
    if (k >= left_) {
      while (pos_ <= size_ && left_ <= size_ - pos_) {
        block(pos_, left_);
        k -= left_;
        pos_ += left_ + pad_;
        left_ = width_;
        if (k < left_) break;
      }
    }
    const std::size_t n = pos_ < size_ ? std::min(k, size_ - pos_) : 0;
    if (n != 0) block(pos_, n);
    pos_ += n;
    left_ = left_ > k ? left_ - k : 0;
  }

  // Byte by byte in effect: a source range that overlaps the destination
  // repeats what was just written.
  void copy_forward(std::size_t from, std::size_t to, std::size_t n) {
    if (to - from >= n) {
      std::memcpy(buffer_ + to, buffer_ + from, n);
      return;
    }
    for (std::size_t i = 0; i < n; ++i) buffer_[to + i] = buffer_[from + i];
  }

  std::uint8_t* buffer_;
  std::size_t size_;
  std::size_t width_;
  std::size_t pad_;
  std::size_t stride_;
  std::size_t pos_ = 0;   // P
  std::size_t left_;      // R
};

}  // namespace zarv::graphics
