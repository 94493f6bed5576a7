#pragma once
// A read-only window on bytes of the file with bounds-checked little-endian
// reads. Every read outside the window throws a kDamaged error naming what
// was being read, so no caller can read past the buffer it was given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "jet/error.h"

namespace jet {

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // True when [offset, offset + length) lies inside the window.
  bool Holds(size_t offset, size_t length) const { return offset <= size_ && length <= size_ - offset; }

  // The sub-window [offset, offset + length); `what` names it in the error.
  ByteView Sub(size_t offset, size_t length, const char* what) const {
    Require(offset, length, what);
    return ByteView(data_ + offset, length);
  }
  ByteView From(size_t offset, const char* what) const {
    Require(offset, 0, what);
    return ByteView(data_ + offset, size_ - offset);
  }

  uint8_t U8(size_t offset, const char* what) const {
    Require(offset, 1, what);
    return data_[offset];
  }
  uint16_t U16(size_t offset, const char* what) const {
    Require(offset, 2, what);
    return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
  }
  uint32_t U24(size_t offset, const char* what) const {
    Require(offset, 3, what);
    return static_cast<uint32_t>(data_[offset]) | static_cast<uint32_t>(data_[offset + 1]) << 8 |
           static_cast<uint32_t>(data_[offset + 2]) << 16;
  }
  uint32_t U32(size_t offset, const char* what) const {
    Require(offset, 4, what);
    return static_cast<uint32_t>(data_[offset]) | static_cast<uint32_t>(data_[offset + 1]) << 8 |
           static_cast<uint32_t>(data_[offset + 2]) << 16 | static_cast<uint32_t>(data_[offset + 3]) << 24;
  }
  uint64_t U64(size_t offset, const char* what) const {
    Require(offset, 8, what);
    return static_cast<uint64_t>(U32(offset, what)) | static_cast<uint64_t>(U32(offset + 4, what)) << 32;
  }

 private:
  void Require(size_t offset, size_t length, const char* what) const {
    if (!Holds(offset, length))
      Damaged(std::string(what) + " runs past the end of its record (" + std::to_string(length) + " bytes at " +
              std::to_string(offset) + " of " + std::to_string(size_) + ")");
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace jet
