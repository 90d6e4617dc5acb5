// SPDX-License-Identifier: MIT
// What the game tells a screen reader: kept with the screen until the next refresh pass hands
// it to the back-end (refresh_pass.cpp), so that it goes out with what was drawn meanwhile.
#include <mutex>

#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

}  // namespace

void Announce(std::string_view sentence) {
  Lock lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return;
  screen->sentences.emplace_back(sentence);
  WakeWindowThread(*screen);
}

void DescribeScreen(std::string_view name, const std::vector<ScreenControl>& controls) {
  Lock lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return;
  screen->words = ScreenWords{std::string(name), controls};
  WakeWindowThread(*screen);
}

}  // namespace layer
