// SPDX-License-Identifier: MIT
// How large the page shows the board: as large as the viewport allows with a small margin,
// at a whole number of device pixels per board pixel where that is large enough.
#pragma once

#include <cstdint>

namespace layer {

// The page as the browser reports it, in CSS pixels.
struct PageView {
  double width = 0;  // of the viewport
  double height = 0;
  double ratio = 1;  // device pixels per CSS pixel
  double below = 0;  // height of what the page puts beneath the board (text, button)
};

struct BoardFit {
  int32_t device_size = 0;  // the board's side in device pixels
  bool beside = false;      // the text and button go beside the board (a wide viewport)
  bool smooth = false;      // shown smaller than its own size: filtered, not nearest-neighbour
};

inline constexpr double kPageMargin = 8;      // around the board
inline constexpr double kPageGap = 12;        // between the board and what is beneath or beside
inline constexpr double kButtonRow = 56;      // the new-game button beneath the board
inline constexpr double kBesideColumn = 180;  // narrowest column beside the board
inline constexpr double kPhoneSide = 600;     // shorter side below which a viewport is a phone's

// The share of the viewport's shorter side the board must reach: 90% on a phone, 70%
// elsewhere.
double BoardGoal(const PageView& view);

// The board's size for a square framebuffer of `board` pixels. A wide viewport puts the text
// beside the board; otherwise the board leaves room beneath for the text and the button, for
// the button alone or for nothing, the first that still reaches the goal. The largest whole
// multiple of the board that fits is used when it reaches the goal; otherwise every device
// pixel that fits.
BoardFit FitBoard(const PageView& view, int32_t board);

}  // namespace layer
