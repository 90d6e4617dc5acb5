// SPDX-License-Identifier: MIT
// Rings and filled ellipses: an integer midpoint walk from the widest row outwards to the top
// and bottom, drawing each row's two outline pixels or its whole span.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

// The float's bits (std::bit_cast is missing from some standard libraries still in use).
uint32_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// The end angle that asks for the whole shape, by its bits: the float 6.283186, one step
// above the float nearest to 2 pi (which does not count as a whole turn).
constexpr uint32_t kFullCircleBits = 0x40C90FDCu;
// Half-axes beyond this many pixels are not drawn: the walk's 64-bit sums would overflow.
constexpr double kMaxHalfAxis = 1 << 20;

int64_t Truncate(double value) {
  return static_cast<int64_t>(value);
}

class RowPainter {
 public:
  RowPainter(Screen& screen, const ClipRect& clip, uint32_t colour, bool fill, int64_t cy)
      : screen_(screen),
        clip_(clip),
        colour_(colour),
        fill_(fill),
        filled_top_(cy),
        filled_bottom_(cy) {}

  // Draws row y with the ends x1 and x2: the two outline pixels, or (when filling) the span
  // between them the first time the row comes up; later visits of a row are narrower.
  void Row(int64_t y, int64_t x1, int64_t x2, bool first_visit) {
    if (y < clip_.top || y > clip_.bottom) return;
    const auto row = static_cast<int32_t>(y);
    if (!fill_) {
      if (x1 >= clip_.left && x1 <= clip_.right)
        PutPixel(screen_, static_cast<int32_t>(x1), row, colour_);
      if (x2 >= clip_.left && x2 <= clip_.right)
        PutPixel(screen_, static_cast<int32_t>(x2), row, colour_);
      return;
    }
    if (!first_visit) return;
    const int64_t left = std::max<int64_t>(x1, clip_.left);
    const int64_t right = std::min<int64_t>(x2, clip_.right);
    if (left <= right) {
      FillSpan(screen_, static_cast<int32_t>(left), static_cast<int32_t>(right), row, colour_);
    }
  }

  // Rows below and above the centre; each is new when the walk has just stepped onto it.
  void Bottom(int64_t y, int64_t x1, int64_t x2) {
    Row(y, x1, x2, y > filled_bottom_);
    filled_bottom_ = std::max(filled_bottom_, y);
  }
  void Top(int64_t y, int64_t x1, int64_t x2) {
    Row(y, x1, x2, y < filled_top_);
    filled_top_ = std::min(filled_top_, y);
  }

 private:
  Screen& screen_;
  const ClipRect& clip_;
  uint32_t colour_;
  bool fill_;
  int64_t filled_top_;
  int64_t filled_bottom_;
};

// Walks the whole ellipse with half-axes a and b around (cx, cy); returns the rows it drew
// as [top, bottom].
std::pair<int64_t, int64_t> WalkEllipse(RowPainter& painter, int64_t cx, int64_t cy, double a,
                                        double b) {
  int64_t x1 = Truncate(static_cast<double>(cx) - a);
  int64_t x2 = Truncate(static_cast<double>(cx) + a);
  painter.Row(cy, x1, x2, true);
  if (b == 0) return {cy, cy};

  const int64_t aq = Truncate(a * a);
  const int64_t bq = Truncate(b * b);
  const int64_t dx = 2 * aq;
  const int64_t dy = 2 * bq;
  int64_t n = Truncate(a);
  if (n <= 0) return {cy, cy};
  int64_t r = Truncate(a * static_cast<double>(bq));
  int64_t rx = 2 * r;
  int64_t ry = 0;
  int64_t top = cy;
  int64_t bottom = cy;
  // Every pass either steps a row outwards or moves both ends inwards, so the walk ends.
  do {
    if (r > 0) {
      --top;
      ++bottom;
      ry += dx;
      r -= ry;
    }
    if (r <= 0) {
      --n;
      ++x1;
      --x2;
      rx -= dy;
      r += rx;
    }
    painter.Bottom(bottom, x1, x2);
    painter.Top(top, x1, x2);
  } while (n > 0);
  return {top, bottom};
}

}  // namespace

void DrawCircle(float x, float y, float radius, uint32_t colour, float aspect, float start,
                float end, int32_t fill, int32_t flags) {
  if (!(radius > 0)) return;  // also refuses NaN
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return;
  DrawingState& state = CurrentDrawingState(*screen);
  const uint32_t use_colour = ChooseColour(state, colour, flags);
  const int64_t cx = RoundCoordinate(x);
  const int64_t cy = RoundCoordinate(y);

  // Arcs (any other start or end angle) are not drawn: only whole shapes are supported.
  if (start != 0.0f || FloatBits(end) != kFullCircleBits) return;

  const float pixel_aspect = aspect == 0.0f ? screen->aspect : aspect;
  float a = radius;
  float b = radius * pixel_aspect;
  if (pixel_aspect > 1.0f) {
    a = radius / pixel_aspect;
    b = radius;
  }
  // A negative aspect gives a negative vertical half-axis: the walk squares it, so the shape
  // is that of its size.
  b = std::fabs(b);
  if (!(a >= 0 && a <= kMaxHalfAxis && b <= kMaxHalfAxis)) return;

  RowPainter painter(*screen, state.clip, use_colour, fill != 0, cy);
  const auto [top, bottom] = WalkEllipse(painter, cx, cy, a, b);

  // Mark every row the walk drew: with a half-axis that is not whole the walk can reach one
  // row beyond cy +- b truncated.
  const int64_t first =
      std::max<int64_t>(std::min(top, Truncate(cy - static_cast<double>(b))), state.clip.top);
  const int64_t last =
      std::min<int64_t>(std::max(bottom, Truncate(cy + static_cast<double>(b))), state.clip.bottom);
  if (first <= last) MarkRows(*screen, static_cast<int32_t>(first), static_cast<int32_t>(last));
}

}  // namespace layer
