// SPDX-License-Identifier: MIT
#include "board.h"

#include <cmath>

#include "geometry.h"
#include "layer/layer.h"
#include "words.h"

namespace game {

int32_t Board[kCellCount + 1] = {};
int32_t LineSum[kLineCount + 1] = {};
int32_t Opponent = 0;
int32_t FirstMover = 1;
int32_t MoveCount = 0;
CellIndex ComputerCell = 1;
int32_t ComputerSecondDraw = 1;
int32_t GameResult = kNoLine;
int32_t MouseX = 0;
int32_t MouseY = 0;
int32_t MouseButtons = 0;

void ResetState() {
  Opponent = 0;
  MoveCount = 0;
  GameResult = kNoLine;
  for (int32_t& cell : Board) cell = kEmpty;
  for (int32_t& sum : LineSum) sum = 0;
}

int32_t DrawFromOneTo(int32_t n) {
  const double r = layer::NextRandom(1.0f);
  return static_cast<int32_t>(std::floor(r * n + 1.0));
}

void DrawCross(CellIndex cell) {
  const Span& xs = ColumnBand(cell).draw;
  const Span& ys = RowBand(cell).draw;
  constexpr int32_t kStraight = 0;
  constexpr uint32_t kSolid = 0xFFFF;
  layer::DrawLine(xs.first, ys.first, xs.last, ys.last, kCrossColour, kStraight, kSolid, 0);
  layer::DrawLine(xs.first, ys.last, xs.last, ys.first, kCrossColour, kStraight, kSolid, 0);
}

void DrawRing(CellIndex cell, uint32_t colour) {
  constexpr float kScreenAspect = 0.0f;
  constexpr int32_t kOutline = 0;
  constexpr int32_t kOnePoint = 4;
  layer::DrawCircle(ColumnBand(cell).centre, RowBand(cell).centre, kRingRadius, colour,
                    kScreenAspect, 0.0f, layer::kFullCircle, kOutline, kOnePoint);
}

void MarkCross(CellIndex cell) {
  Board[cell] = kCross;
  DrawCross(cell);
  TellMark(cell);
}

void MarkRing(CellIndex cell) {
  Board[cell] = kRing;
  DrawRing(cell, kRingColour);
  TellMark(cell);
}

}  // namespace game
