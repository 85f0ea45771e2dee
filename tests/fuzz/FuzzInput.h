// Splits a fuzz input into the texts and numbers a target needs.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace wenlock::fuzzing {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::int32_t Int() {
    std::int32_t value = 0;
    const std::size_t n = size_ < sizeof value ? size_ : sizeof value;
    std::memcpy(&value, data_, n);
    Advance(n);
    return value;
  }

  // The rest of the input as a text without NUL bytes (the boundary's texts end at a NUL).
  std::string Rest() {
    std::string text(reinterpret_cast<const char*>(data_), size_);
    Advance(size_);
    return text.substr(0, text.find('\0'));
  }

 private:
  void Advance(std::size_t n) {
    data_ += n;
    size_ -= n;
  }

  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace wenlock::fuzzing
