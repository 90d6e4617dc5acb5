// SPDX-License-Identifier: MIT
// The whole factor the window shows the framebuffer enlarged by: chosen by the back-end when
// it opens its window, from what the person asked for and what the desktop tells.
#pragma once

#include <cstdint>

namespace layer {

inline constexpr int32_t kMaxWindowScale = 8;

// The scale to show the window at: the one set by SetWindowScale, else XMAS_TICTACTOE_SCALE
// (1..8, other values ignored), else desktop_scale (clamped to 1..8); lowered while width or
// height times the scale exceed the usable area (never below 1; a usable size <= 0 is unknown).
int32_t ChooseWindowScale(int32_t desktop_scale, int32_t usable_width, int32_t usable_height,
                          int32_t width, int32_t height);

// A pointer position in window pixels, in the unsigned 16-bit form window messages carry it
// (a position left of or above the window wraps below 0x10000), divided by the scale towards
// minus infinity and given back in the same form.
int32_t UnscaledPosition(int32_t position, int32_t scale);

}  // namespace layer
