// SPDX-License-Identifier: MIT
#include "window_scale.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>

#include "layer.h"

namespace layer {
namespace {

constexpr int32_t kMaxScale = 8;
std::atomic<int32_t> asked_scale{0};  // 0: automatic

// XMAS_TICTACTOE_SCALE as a whole number 1..8, else 0.
int32_t EnvironmentScale() {
  const char* text = std::getenv("XMAS_TICTACTOE_SCALE");
  if (text == nullptr) return 0;
  const std::string value(text);
  if (value.size() != 1 || value[0] < '1' || value[0] > '8') return 0;
  return value[0] - '0';
}

}  // namespace

int32_t SetWindowScale(int32_t scale) {
  if (scale < 0 || scale > kMaxScale) return 1;
  asked_scale = scale;
  return 0;
}

int32_t ChooseWindowScale(int32_t desktop_scale, int32_t usable_width, int32_t usable_height,
                          int32_t width, int32_t height) {
  int32_t scale = asked_scale;
  if (scale == 0) scale = EnvironmentScale();
  if (scale == 0) scale = std::clamp(desktop_scale, 1, kMaxScale);
  auto too_big = [](int32_t size, int32_t scale, int32_t usable) {
    return usable > 0 && static_cast<int64_t>(size) * scale > usable;
  };
  while (scale > 1 && (too_big(width, scale, usable_width) || too_big(height, scale, usable_height))) {
    --scale;
  }
  return scale;
}

}  // namespace layer
