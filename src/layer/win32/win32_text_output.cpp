// SPDX-License-Identifier: MIT
// A windowed program gets no console: when started from one, write to it.
#include <windows.h>

#include <cstdio>

#include "layer.h"

namespace layer {
namespace {

bool HasHandle(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void ConnectTextOutput() {
  // Output already redirected to a file or pipe (or given by Wine) stays where it goes.
  if (HasHandle(STD_OUTPUT_HANDLE) && HasHandle(STD_ERROR_HANDLE)) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!HasHandle(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
  if (!HasHandle(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace layer
