// SPDX-License-Identifier: MIT
#include "browser/browser_board_fit.h"

#include <algorithm>
#include <cmath>

namespace layer {

double BoardGoal(const PageView& view) {
  return std::min(view.width, view.height) < kPhoneSide ? 0.9 : 0.7;
}

BoardFit FitBoard(const PageView& view, int32_t board) {
  BoardFit fit;
  const double shorter = std::min(view.width, view.height);
  const double goal = BoardGoal(view) * shorter;
  const double across = view.width - 2 * kPageMargin;
  const double down = view.height - 2 * kPageMargin;
  double side = 0;
  if (view.width - view.height >= kBesideColumn + kPageGap) {
    fit.beside = true;
    side = std::min(down, across - kPageGap - kBesideColumn);
  } else {
    for (const double reserve : {view.below, kButtonRow, 0.0}) {
      side = std::min(across, down - (reserve > 0 ? kPageGap + reserve : 0));
      if (side >= goal) break;
    }
  }
  // A little below a whole device pixel counts as one (the ratio is rarely exact).
  const int32_t device = std::max(1, static_cast<int32_t>(std::floor(side * view.ratio + 1e-6)));
  const int32_t whole = device / board;
  if (whole >= 1 && whole * board >= goal * view.ratio) {
    fit.device_size = whole * board;
  } else {
    fit.device_size = device;
  }
  fit.smooth = fit.device_size < board;
  return fit;
}

}  // namespace layer
