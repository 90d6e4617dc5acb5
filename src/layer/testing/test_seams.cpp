// SPDX-License-Identifier: MIT
// Test seams: the headless back-end, closing the screen, waiting for window passes.
#include "testing/test_seams.h"

#include <chrono>
#include <cstring>
#include <mutex>

#include "screen/screen.h"

namespace layer::testing {

void UseHeadlessBackend(bool with_event_source) {
  SetBackendFactory([with_event_source] {
    BackendList list;
    list.push_back(std::make_unique<HeadlessBackend>(with_event_source));
    return list;
  });
}

HeadlessBackend* Headless() {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return nullptr;
  return dynamic_cast<HeadlessBackend*>(screen->backend.get());
}

void CloseScreenForTest() {
  CloseScreen();
  SetBackendFactory(nullptr);
}

void WaitForPasses(int32_t count) {
  // Without the screen lock, so that a wait may begin while a pass holds it. Bounded, so
  // that a broken window thread fails a test instead of hanging it.
  AwaitWindowPasses(count, std::chrono::seconds(5));
}

uint32_t FramebufferPixel(int32_t x, int32_t y) {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr || x < 0 || y < 0 || x >= screen->width || y >= screen->height) return 0;
  uint32_t pixel = 0;
  std::memcpy(&pixel, screen->Row(y) + static_cast<size_t>(x) * 4, 4);
  return pixel;
}

}  // namespace layer::testing
