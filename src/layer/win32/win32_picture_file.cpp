// SPDX-License-Identifier: MIT
// Opening and reading picture files through the wide API: names are UTF-8 in the layer;
// reads are positional (ReadFile at an offset), as on POSIX systems.
#include <windows.h>

#include <algorithm>
#include <string>

#include "picture/image_file.h"
#include "win32/win32_text.h"

namespace layer {
namespace {

HANDLE AsHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// The wide name to open. Names too long for the classic limit become absolute \\?\ names,
// which the system takes whole.
std::wstring OpenableName(const std::string& path) {
  std::wstring wide = WideFromUtf8(path);
  if (wide.size() < MAX_PATH - 12) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace

PictureFile::~PictureFile() {
  if (fd_ >= 0) CloseHandle(AsHandle(fd_));
}

bool PictureFile::Open(const std::string& path) {
  // Backup semantics let a directory open, as it does on POSIX systems; it then reads as an
  // error like anything else that is not a regular file.
  HANDLE file = CreateFileW(OpenableName(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  fd_ = reinterpret_cast<intptr_t>(file);
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return true;  // only regular files are pictures: every read of anything else fails
  }
  size_ = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  regular_ = true;
  head_size_ = ReadFromFile(0, head_.data(), head_.size());
  return true;
}

size_t PictureFile::ReadFromFile(uint64_t offset, uint8_t* bytes, size_t n) {
  size_t done = 0;
  while (done < n) {
    const uint64_t at = offset + done;
    if (at < offset) break;  // past any possible end of file
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD want = static_cast<DWORD>(std::min<size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(AsHandle(fd_), bytes + done, want, &got, &position)) {
      if (GetLastError() != ERROR_HANDLE_EOF) error_ = true;
      break;
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace layer
