// SPDX-License-Identifier: MIT
// Opening and reading picture files with pread: no mapping that a shrinking file could turn
// into a crash, and no read beyond what the caller asked for.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "picture/image_file.h"

namespace layer {

PictureFile::~PictureFile() {
  if (fd_ >= 0) ::close(static_cast<int>(fd_));
}

bool PictureFile::Open(const std::string& path) {
  // Non-blocking, so that opening a pipe without a writer cannot hang.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  fd_ = fd;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    return true;  // only regular files are pictures: every read of anything else fails
  }
  size_ = static_cast<uint64_t>(info.st_size);
  regular_ = true;
  head_size_ = ReadFromFile(0, head_.data(), head_.size());
  return true;
}

size_t PictureFile::ReadFromFile(uint64_t offset, uint8_t* bytes, size_t n) {
  constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
  size_t done = 0;
  while (done < n) {
    if (offset > kMaxOffset - done) break;  // past any possible end of file
    const ssize_t got =
        ::pread(static_cast<int>(fd_), bytes + done, n - done, static_cast<off_t>(offset + done));
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

}  // namespace layer
