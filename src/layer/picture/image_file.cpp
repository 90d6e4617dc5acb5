// SPDX-License-Identifier: MIT
// Positional reads of picture files with pread: no mapping that a shrinking file could turn
// into a crash, and no read beyond what the caller asked for.
#include "picture/image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace layer {

PictureFile::~PictureFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool PictureFile::Open(const std::string& path) {
  // Non-blocking, so that opening a pipe without a writer cannot hang.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    return true;  // only regular files are pictures: every read of anything else fails
  }
  size_ = static_cast<uint64_t>(info.st_size);
  regular_ = true;
  head_size_ = ReadFromFile(0, head_.data(), head_.size());
  return true;
}

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

size_t PictureFile::ReadFromFile(uint64_t offset, uint8_t* bytes, size_t n) {
  constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
  size_t done = 0;
  while (done < n) {
    if (offset > kMaxOffset - done) break;  // past any possible end of file
    const ssize_t got = ::pread(fd_, bytes + done, n - done, static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      error_ = true;
      break;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
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
