// Splits a fuzzer's bytes into the pieces a target needs.
#pragma once

#include <cstdint>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // A piece of at most `limit` bytes, its length given by the next byte.
  std::string Piece(std::size_t limit = 255) {
    std::size_t length = Byte();
    if (length > limit) length = limit;
    if (length > size_ - pos_) length = size_ - pos_;
    std::string out(reinterpret_cast<const char*>(data_ + pos_), length);
    pos_ += length;
    return out;
  }
  std::string Rest() {
    std::string out(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};
