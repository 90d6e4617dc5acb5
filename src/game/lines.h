// SPDX-License-Identifier: MIT
// The eight lines of the board, each as its three cells in the order they are tested.
#pragma once

#include <array>
#include <cstdint>

#include "board.h"

namespace game {

using LineCells = std::array<CellIndex, 3>;

// kLines[line - 1] for lines 1..8.
inline constexpr std::array<LineCells, kLineCount> kLines = {{
    {1, 2, 3},  // 1 top row
    {4, 5, 6},  // 2 middle row
    {7, 8, 9},  // 3 bottom row
    {1, 4, 7},  // 4 left column
    {2, 5, 8},  // 5 middle column
    {3, 6, 9},  // 6 right column
    {1, 5, 9},  // 7 diagonal from the top left
    {3, 5, 7},  // 8 diagonal from the top right
}};

inline const LineCells& CellsOfLine(int32_t line) {
  return kLines[line - 1];
}

}  // namespace game
