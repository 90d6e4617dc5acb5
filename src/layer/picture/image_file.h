// SPDX-License-Identifier: MIT
// Reading a picture file by position: the loader asks for exactly the bytes it uses, so the
// memory it needs never depends on the sizes a file claims.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace layer {

// LoadPicture's statuses (layer.h); the readers of each format return them too.
inline constexpr int32_t kPictureOk = 0;
inline constexpr int32_t kPictureBadCall = 1;     // no image buffer, no screen, or a wrong depth
inline constexpr int32_t kPictureCannotOpen = 2;  // the file cannot be opened
inline constexpr int32_t kPictureBadFile = 3;     // empty, unreadable, damaged or unsupported

class PictureFile {
 public:
  PictureFile() = default;
  PictureFile(const PictureFile&) = delete;
  PictureFile& operator=(const PictureFile&) = delete;
  ~PictureFile();

  // Opens path for reading and reads the file's head, where its headers and palette lie, in
  // one go. False when it cannot be opened; a directory, pipe or device opens but reads as an
  // error.
  bool Open(const std::string& path);
  // The file's length when it was opened.
  uint64_t Size() const { return size_; }
  // Reads up to n bytes at offset into to; fewer at the end of the file or on a read error.
  // Bytes that lie in the head are taken from there.
  size_t ReadAt(uint64_t offset, void* to, size_t n);
  bool ReadExact(uint64_t offset, void* to, size_t n) { return ReadAt(offset, to, n) == n; }
  // Whether a read failed for another reason than the end of the file.
  bool HadError() const { return error_; }

 private:
  size_t ReadFromFile(uint64_t offset, uint8_t* to, size_t n);

  static constexpr size_t kHeadBytes = 4096;
  intptr_t fd_ = -1;  // the open file: a descriptor, or a Windows handle
  uint64_t size_ = 0;
  bool regular_ = false;
  bool error_ = false;
  size_t head_size_ = 0;  // bytes of head_ read from the file's start
  std::array<uint8_t, kHeadBytes> head_;
};

// Reads a file byte after byte from a start position, a chunk at a time.
class ByteStream {
 public:
  ByteStream(PictureFile& file, uint64_t start);
  // The next byte; false at the end of the file or on a read error.
  bool Next(uint8_t& byte) {
    if (next_ == end_ && !Refill()) return false;
    byte = chunk_[next_++];
    return true;
  }

 private:
  bool Refill();

  static constexpr size_t kChunkBytes = 64 * 1024;
  PictureFile& file_;
  uint64_t position_;  // file offset of the byte after the chunk
  std::unique_ptr<uint8_t[]> chunk_;
  size_t next_ = 0;
  size_t end_ = 0;
};

}  // namespace layer
