// SPDX-License-Identifier: MIT
// The whole factor a back-end shows the 651 x 651 framebuffer enlarged by.
#pragma once

#include <cstdint>

namespace layer {

// The scale to show the window at: the one set by SetWindowScale, else XMAS_TICTACTOE_SCALE
// (1..8, other values ignored), else desktop_scale (clamped 1..8), lowered while
// width*scale or height*scale exceed the usable area (never below 1; usable sizes <= 0 mean
// unknown).
int32_t ChooseWindowScale(int32_t desktop_scale, int32_t usable_width, int32_t usable_height,
                          int32_t width, int32_t height);

}  // namespace layer
