// SPDX-License-Identifier: MIT
// Straight lines: outcode clipping against the clip rectangle, then vertical and horizontal
// runs or Bresenham's algorithm, with a 16-bit on/off style counted from the first end point.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <mutex>

#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr uint32_t kLeft = 1;
constexpr uint32_t kRight = 2;
constexpr uint32_t kAbove = 4;
constexpr uint32_t kBelow = 8;

// An end point while clipping. 64 bits, so differences of rounded coordinates cannot overflow.
struct End {
  int64_t x;
  int64_t y;
};

uint32_t OutCode(const End& p, const ClipRect& clip) {
  uint32_t code = 0;
  if (p.x < clip.left) code |= kLeft;
  if (p.x > clip.right) code |= kRight;
  if (p.y < clip.top) code |= kAbove;
  if (p.y > clip.bottom) code |= kBelow;
  return code;
}

// Truncates toward zero; the value always lies near the clip rectangle, the clamp only keeps
// the conversion defined.
int64_t Truncate(double value) {
  constexpr double kLimit = 4.0e18;
  return static_cast<int64_t>(std::clamp(value, -kLimit, kLimit));
}

// Moves `end` onto the first border (left, right, top, bottom) it lies beyond, along the
// segment through the current end points `a` and `b`.
void MoveOntoBorder(End& end, uint32_t code, const End& a, const End& b, const ClipRect& clip) {
  // The other end lies on the near side of the border that `end` is moved onto, so the
  // segment's extent across that border is never zero.
  if (code & (kLeft | kRight)) {
    const int64_t border = (code & kLeft) ? clip.left : clip.right;
    const double slope = static_cast<double>(b.y - a.y) / static_cast<double>(b.x - a.x);
    end.y = Truncate(static_cast<double>(a.y) + slope * static_cast<double>(border - a.x));
    end.x = border;
  } else {
    const int64_t border = (code & kAbove) ? clip.top : clip.bottom;
    if (a.x != b.x) {
      const double slope = static_cast<double>(b.y - a.y) / static_cast<double>(b.x - a.x);
      end.x = Truncate(static_cast<double>(a.x) + static_cast<double>(border - a.y) / slope);
    }
    end.y = border;
  }
}

// Clips the segment a-b to the rectangle; false when nothing of it is inside. Every move puts
// an end exactly on a border, so each end leaves the outside within a few moves; the bound
// below only guards against a case that cannot arise.
bool ClipSegment(End& a, End& b, const ClipRect& clip) {
  for (int moves = 0; moves < 16; ++moves) {
    const uint32_t code_a = OutCode(a, clip);
    const uint32_t code_b = OutCode(b, clip);
    if ((code_a | code_b) == 0) return true;
    if (code_a & code_b) return false;
    if (code_a != 0) {
      MoveOntoBorder(a, code_a, a, b, clip);
    } else {
      MoveOntoBorder(b, code_b, a, b, clip);
    }
  }
  return false;
}

bool StyleAllows(uint32_t style, int32_t k) {
  return (style >> (15 - (k & 15))) & 1u;
}

// Plots a clipped segment, counting style pixels from (x1, y1).
void Plot(Screen& screen, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
          uint32_t style) {
  const bool solid = (style & 0xFFFFu) == 0xFFFFu;
  const int32_t step_x = x2 >= x1 ? 1 : -1;
  const int32_t step_y = y2 >= y1 ? 1 : -1;
  if (y1 == y2 && solid) {
    FillSpan(screen, std::min(x1, x2), std::max(x1, x2), y1, colour);
    return;
  }
  const int32_t dx = std::abs(x2 - x1);
  const int32_t dy = std::abs(y2 - y1);
  if (x1 == x2 || y1 == y2) {
    // A vertical or horizontal run; pixel k lies k steps from (x1, y1).
    const int32_t along_x = dx != 0 ? step_x : 0;
    const int32_t along_y = dy != 0 ? step_y : 0;
    for (int32_t k = 0; k <= dx + dy; ++k) {
      if (StyleAllows(style, k)) PutPixel(screen, x1 + k * along_x, y1 + k * along_y, colour);
    }
    return;
  }
  const bool x_major = dx >= dy;
  const int32_t major = x_major ? dx : dy;
  const int32_t minor = x_major ? dy : dx;
  int32_t error = 2 * minor - major;
  int32_t x = x1;
  int32_t y = y1;
  for (int32_t k = 0; k <= major; ++k) {
    if (StyleAllows(style, k)) PutPixel(screen, x, y, colour);
    if (error >= 0) {
      if (x_major) {
        y += step_y;
      } else {
        x += step_x;
      }
      error -= 2 * major;
    }
    error += 2 * minor;
    if (x_major) {
      x += step_x;
    } else {
      y += step_y;
    }
  }
}

}  // namespace

void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour, int32_t type, uint32_t style,
              int32_t flags) {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr || type != 0) return;  // only plain lines (type 0) are drawn
  DrawingState& state = CurrentDrawingState(*screen);
  const uint32_t use_colour = ChooseColour(state, colour, flags);
  End a{RoundCoordinate(x1), RoundCoordinate(y1)};
  End b{RoundCoordinate(x2), RoundCoordinate(y2)};
  if (!ClipSegment(a, b, state.clip)) return;

  // Clipped ends lie inside the clip rectangle, which lies inside the screen.
  Plot(*screen, static_cast<int32_t>(a.x), static_cast<int32_t>(a.y), static_cast<int32_t>(b.x),
       static_cast<int32_t>(b.y), use_colour, style);
  MarkRows(*screen, static_cast<int32_t>(std::min(a.y, b.y)),
           static_cast<int32_t>(std::max(a.y, b.y)));
}

}  // namespace layer
