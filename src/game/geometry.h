// SPDX-License-Identifier: MIT
// Where the board and the menu lie in the 651 x 651 window.
//
// Each axis has three bands. A band has a draw span (the ends of a cross), a ring centre and
// an inclusive click span. Cell n lies in column band (n - 1) mod 3 and row band (n - 1) div 3.
// Clicks in the gaps between bands, and on x or y = 650, hit no cell.
#pragma once

#include <array>
#include <cstdint>

#include "board.h"

namespace game {

struct Span {
  int32_t first = 0;
  int32_t last = 0;  // inclusive
  constexpr bool Contains(int32_t value) const { return value >= first && value <= last; }
};

struct Band {
  Span draw;
  int32_t centre = 0;
  Span click;
};

inline constexpr std::array<Band, 3> kBands = {{
    {{0, 208}, 104, {0, 209}},
    {{221, 429}, 325, {222, 429}},
    {{442, 650}, 546, {443, 649}},
}};

// Cell 2 alone takes clicks one pixel further right than its band.
inline constexpr Span kCell2ClickColumn = {222, 430};

inline constexpr int32_t kRingRadius = 104;

struct Rect {
  Span x;
  Span y;
  constexpr bool Contains(int32_t px, int32_t py) const { return x.Contains(px) && y.Contains(py); }
};

// The opponents' corners of the menu picture: kMenuRects[opponent - 1].
inline constexpr std::array<Rect, 4> kMenuRects = {{
    {{0, 209}, {0, 209}},      // 1 top left
    {{443, 621}, {0, 209}},    // 2 top right
    {{443, 649}, {443, 649}},  // 3 bottom right
    {{0, 209}, {443, 621}},    // 4 bottom left
}};

inline const Band& ColumnBand(CellIndex cell) {
  return kBands[(cell - 1) % 3];
}
inline const Band& RowBand(CellIndex cell) {
  return kBands[(cell - 1) / 3];
}

// Whether a click at (x, y) falls on the cell.
bool InClickArea(CellIndex cell, int32_t x, int32_t y);
// The cell a click at (x, y) falls on, 0 for none.
CellIndex CellAt(int32_t x, int32_t y);
// The opponent whose menu corner holds (x, y), 0 for none.
int32_t OpponentAt(int32_t x, int32_t y);

}  // namespace game
