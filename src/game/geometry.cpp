// SPDX-License-Identifier: MIT
#include "geometry.h"

#include "board.h"

namespace game {

bool InClickArea(CellIndex cell, int32_t x, int32_t y) {
  const Span& columns = cell == 2 ? kCell2ClickColumn : ColumnBand(cell).click;
  return columns.Contains(x) && RowBand(cell).click.Contains(y);
}

CellIndex CellAt(int32_t x, int32_t y) {
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    if (InClickArea(cell, x, y)) return cell;
  }
  return 0;
}

int32_t OpponentAt(int32_t x, int32_t y) {
  for (int32_t opponent = 1; opponent <= static_cast<int32_t>(kMenuRects.size()); ++opponent) {
    if (kMenuRects[opponent - 1].Contains(x, y)) return opponent;
  }
  return 0;
}

}  // namespace game
