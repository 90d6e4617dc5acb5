// SPDX-License-Identifier: MIT
#include "screen/refresh_pass.h"

#include <cstring>
#include <mutex>

namespace layer {

bool OpenWindow(Screen& screen, BackendList backends) {
  const WindowRequest request{screen.title, screen.width, screen.height};
  for (auto& backend : backends) {
    if (backend && backend->Open(request)) {
      screen.backend = std::move(backend);
      screen.backend_name = screen.backend->Name();
      screen.refresh_rate = screen.backend->RefreshRate();
      return true;
    }
  }
  return false;
}

bool PresentMarkedRows(Screen& screen) {
  int32_t first = -1;
  int32_t last = -1;
  for (int32_t y = 0; y < screen.height; ++y) {
    if (screen.row_marks[y] == 0) continue;
    if (first < 0) first = y;
    last = y;
  }
  if (first < 0) return false;
  screen.backend->Present(screen.framebuffer.data(), screen.pitch, first, last);
  std::memset(screen.row_marks.data(), 0, screen.row_marks.size());
  return true;
}

void TellScreenReader(Screen& screen) {
  if (screen.words) {
    screen.backend->Describe(*screen.words);
    screen.words.reset();
  }
  if (!screen.sentences.empty()) {
    screen.backend->Announce(screen.sentences);
    screen.sentences.clear();
  }
}

PassOutcome RunRefreshPass(Screen& screen) {
  PassOutcome pass;
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  pass.presented = PresentMarkedRows(screen);
  const MessageRouter::Routed routed = screen.router.Route(*screen.backend, screen.input);
  pass.messages = routed.messages;
  pass.pressed = routed.pressed;
  if (routed.repaint) {
    std::memset(screen.row_marks.data(), 1, screen.row_marks.size());
    pass.presented = PresentMarkedRows(screen);
  }
  TellScreenReader(screen);
  pass.holding = screen.router.HoldsMessages() || screen.backend->HoldsMessages();
  return pass;
}

}  // namespace layer
