// SPDX-License-Identifier: MIT
#include "screen/window_scale.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>

#include "layer.h"

namespace layer {
namespace {

std::atomic<int32_t> g_requested_scale{0};  // 0: automatic

}  // namespace

int32_t ParseWindowScale(std::string_view text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxWindowScale) return 0;
  return text[0] - '0';
}

int32_t SetWindowScale(int32_t scale) {
  if (scale < 0 || scale > kMaxWindowScale) return 1;
  g_requested_scale.store(scale);
  return 0;
}

int32_t ChooseWindowScale(int32_t desktop_scale, int32_t usable_width, int32_t usable_height,
                          int32_t width, int32_t height) {
  int32_t scale = g_requested_scale.load();
  if (scale == 0) {
    const char* from_environment = std::getenv("XMAS_TICTACTOE_SCALE");
    if (from_environment != nullptr) scale = ParseWindowScale(from_environment);
  }
  if (scale == 0) scale = std::clamp(desktop_scale, 1, kMaxWindowScale);
  const auto fits = [&](int32_t s) {
    return (usable_width <= 0 || width * s <= usable_width) &&
           (usable_height <= 0 || height * s <= usable_height);
  };
  while (scale > 1 && !fits(scale)) --scale;
  return scale;
}

int32_t UnscaledPosition(int32_t position, int32_t scale) {
  scale = std::max(scale, 1);
  const int32_t signed_position = static_cast<int16_t>(static_cast<uint16_t>(position));
  const int32_t quotient =
      signed_position >= 0 ? signed_position / scale : -((-signed_position + scale - 1) / scale);
  return quotient & 0xFFFF;
}

}  // namespace layer
