// SPDX-License-Identifier: MIT
// The game's program-wide state and the drawing of its two marks.
//
// Every value is a signed 32-bit integer, lives for the whole run and is touched only on the
// game's thread. Cells and lines are numbered from 1; index 0 of each array is unused.
#pragma once

#include <cstdint>

namespace game {

// Cell values. A line sum tells a line's contents at once: 2 is two crosses and a free cell,
// 20 two rings and a free cell, 3 and 30 a complete line.
inline constexpr int32_t kEmpty = 0;
inline constexpr int32_t kCross = 1;
inline constexpr int32_t kRing = 10;

// Cells are numbered 1..9 row by row from the top left.
using CellIndex = int32_t;
inline constexpr int32_t kCellCount = 9;
inline constexpr int32_t kLineCount = 8;

inline constexpr uint32_t kCrossColour = 0x000000;
inline constexpr uint32_t kRingColour = 0x0000AA;
inline constexpr uint32_t kWinningRingColour = 0xAA0000;

// GameResult values.
inline constexpr int32_t kNoLine = 0;
inline constexpr int32_t kPersonWon = 1;
inline constexpr int32_t kComputerWon = 2;

// Opponent values (0: none chosen yet).
inline constexpr int32_t kChristkind = 1;
inline constexpr int32_t kKnechtRuprecht = 2;
inline constexpr int32_t kNikolaus = 3;
inline constexpr int32_t kEngel = 4;

extern int32_t Board[kCellCount + 1];    // 0 empty, 1 cross, 10 ring
extern int32_t LineSum[kLineCount + 1];  // as of the last result test
extern int32_t Opponent;                 // 0..4
extern int32_t FirstMover;               // 1 the person, 2 the computer
extern int32_t MoveCount;                // marks on the board, both sides together
extern CellIndex ComputerCell;           // the cell the computer is about to take
extern int32_t ComputerSecondDraw;       // corner answer and fork draws
extern int32_t GameResult;               // kNoLine, kPersonWon, kComputerWon
extern int32_t MouseX;                   // the last mouse query, -1 when it failed
extern int32_t MouseY;
extern int32_t MouseButtons;

// Clears the board, the line sums, the opponent, the move count and the result.
void ResetState();

// One draw from 1 to n: floor(r * n + 1) for a fresh random r in [0, 1).
int32_t DrawFromOneTo(int32_t n);

// Whether a cell may still be taken.
inline bool IsFree(CellIndex cell) {
  return Board[cell] < kCross;
}

// Two black diagonals across the cell's draw span.
void DrawCross(CellIndex cell);
// A one-pixel full circle of radius 104 around the cell's centre.
void DrawRing(CellIndex cell, uint32_t colour);

// Writes the mark into the cell, draws it and tells a screen reader (words.h).
void MarkCross(CellIndex cell);
void MarkRing(CellIndex cell);

}  // namespace game
