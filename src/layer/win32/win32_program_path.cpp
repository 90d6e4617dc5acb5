// SPDX-License-Identifier: MIT
// The program's own executable, from GetModuleFileNameW: the whole path however long, in
// UTF-8 with '/' as the separator, so that directory + "/" + name is a usable path.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/program_path.h"
#include "win32/win32_text.h"

namespace layer {

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768 * 2) return {};  // longer than any Windows path
    path.resize(path.size() * 2);             // cut short: try again with more room
  }
  // A long path may come back with the \\?\ prefix, which takes no '/' separators.
  if (path.rfind(L"\\\\?\\", 0) == 0 && path.rfind(L"\\\\?\\UNC\\", 0) != 0) path.erase(0, 4);
  std::string utf8 = Utf8FromWide(path);
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return utf8;
}

}  // namespace layer
