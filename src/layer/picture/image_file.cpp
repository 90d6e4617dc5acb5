// SPDX-License-Identifier: MIT
// Positional reads of picture files: the head from memory, the rest from the file (opening
// and reading the file are the platform's: posix_picture_file.cpp, win32_picture_file.cpp).
#include "picture/image_file.h"

#include <cstring>

namespace layer {

size_t PictureFile::ReadAt(uint64_t offset, void* to, size_t n) {
  if (!regular_) {
    error_ = true;
    return 0;
  }
  if (offset <= head_size_ && n <= head_size_ - offset) {
    std::memcpy(to, head_.data() + offset, n);
    return n;
  }
  return ReadFromFile(offset, static_cast<uint8_t*>(to), n);
}

ByteStream::ByteStream(PictureFile& file, uint64_t start)
    : file_(file), position_(start), chunk_(new uint8_t[kChunkBytes]) {}

bool ByteStream::Refill() {
  const size_t got = file_.ReadAt(position_, chunk_.get(), kChunkBytes);
  position_ += got;
  next_ = 0;
  end_ = got;
  return got > 0;
}

}  // namespace layer
