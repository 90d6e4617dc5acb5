// SPDX-License-Identifier: MIT
// A program started from Explorer has no console: what it writes to stderr (the one-line
// message of a window that cannot be opened) is kept and shown in a message box at exit.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32/win32_error_output.h"
#include "win32/win32_text.h"

namespace layer {
namespace {

std::wstring g_kept_output;  // the file stderr writes to, when there is no console

void ShowKeptOutput() {
  std::fflush(stderr);
  FILE* kept = _wfopen(g_kept_output.c_str(), L"rb");
  std::string text;
  if (kept != nullptr) {
    char buffer[1024];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, kept)) > 0) text.append(buffer, got);
    std::fclose(kept);
  }
  DeleteFileW(g_kept_output.c_str());
  if (!text.empty()) {
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"xmas-tictactoe", MB_OK | MB_ICONERROR);
  }
}

}  // namespace

void KeepErrorOutputWithoutConsole() {
  static bool kept = false;
  if (kept) return;
  kept = true;
  {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE) return;  // a console or a file
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 ||
        GetTempFileNameW(folder, L"xms", 0, name) == 0) {
      return;
    }
    g_kept_output = name;
    if (_wfreopen(name, L"w", stderr) == nullptr) return;
    std::atexit(ShowKeptOutput);
  }
}

}  // namespace layer
