// Test seams: the headless back-end, closing the screen, waiting for window passes.
#include "testing.h"

#include <chrono>
#include <cstring>

#include "screen.h"

namespace layer::testing {

void UseHeadlessBackend() {
  SetBackendFactory([] {
    BackendList list;
    list.push_back(std::make_unique<HeadlessBackend>());
    return list;
  });
}

HeadlessBackend* Headless() {
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return nullptr;
  return dynamic_cast<HeadlessBackend*>(screen->backend.get());
}

void CloseScreenForTest() {
  CloseScreen();
  SetBackendFactory(nullptr);
}

void WaitForPasses(int32_t count) {
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return;
  std::unique_lock<std::mutex> lock(screen->pass_mutex);
  const uint64_t target = screen->passes + static_cast<uint64_t>(count);
  // Bounded, so that a broken window thread fails a test instead of hanging it.
  screen->pass_finished.wait_for(lock, std::chrono::seconds(5),
                                 [screen, target] { return screen->passes >= target; });
}

uint32_t FramebufferPixel(int32_t x, int32_t y) {
  Screen* screen = CurrentScreen();
  if (screen == nullptr || x < 0 || y < 0 || x >= screen->width || y >= screen->height) return 0;
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  uint32_t pixel = 0;
  std::memcpy(&pixel, screen->Row(y) + static_cast<size_t>(x) * 4, 4);
  return pixel;
}

}  // namespace layer::testing
