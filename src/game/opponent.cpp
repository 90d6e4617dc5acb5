// SPDX-License-Identifier: MIT
#include "opponent.h"

#include "board.h"
#include "lines.h"
#include "result.h"
#include "strategy_tables.h"

namespace game {
namespace {

constexpr int32_t kTwoCrosses = 2 * kCross;
constexpr int32_t kTwoRings = 2 * kRing;

bool BoardIsFull() {
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    if (Board[cell] == kEmpty) return false;
  }
  return true;
}

// Draws cells from 1 to 9 until one is free. With the centre preference, while the person's
// only cross is off the centre, every draw is replaced by the centre.
void FreeCellDraw(bool centre_preference) {
  do {
    ComputerCell = DrawFromOneTo(kCellCount);
    if (centre_preference && MoveCount == 1 && Board[kCentre] == kEmpty) ComputerCell = kCentre;
  } while (Board[ComputerCell] > kEmpty);
}

// Every free cell of every line whose sum is target overwrites the choice, so the free cell of
// the highest-numbered such line decides.
void RunRules(int32_t target) {
  for (int32_t line = 1; line <= kLineCount; ++line) {
    for (CellIndex cell : CellsOfLine(line)) {
      if (LineSum[line] == target && Board[cell] == kEmpty) ComputerCell = cell;
    }
  }
}

void BlockRules() {
  RunRules(kTwoCrosses);
}
void WinRules() {
  RunRules(kTwoRings);
}

void OpeningMove() {
  switch (Opponent) {
    case kChristkind:
      ComputerCell = DrawFromOneTo(kCellCount);
      break;
    case kKnechtRuprecht:
      ComputerCell = kCentre;
      break;
    case kNikolaus:
      ComputerCell = kCorners[DrawFromOneTo(4) - 1];
      break;
    case kEngel:
      ComputerCell = kEdgeCells[DrawFromOneTo(4) - 1];
      break;
    default:
      return;
  }
  MarkRing(ComputerCell);
}

void KnechtRuprechtMove() {
  FreeCellDraw(false);
  // Centre answer and corner answer to the person's opening cross.
  if (MoveCount == 1 && Board[kCentre] == kEmpty) ComputerCell = kCentre;
  if (MoveCount == 1 && Board[kCentre] == kCross) {
    ComputerSecondDraw = DrawFromOneTo(4);
    ComputerCell = kCorners[ComputerSecondDraw - 1];
  }
  BlockRules();
  for (const ReplyRule& rule : kReplyRules) {
    if (MoveCount == 2 && Board[kCentre] == kRing && Board[rule.cross_edge] == kCross) {
      ComputerCell = rule.corner;
    }
  }
  for (const ForkRule& rule : kForkRules) {
    if (MoveCount == 4 && Board[kCentre] == kRing && Board[rule.ring_corner] == kRing &&
        Board[rule.cross_edge] == kCross) {
      ComputerSecondDraw = DrawFromOneTo(2);
      ComputerCell = ComputerSecondDraw == 1 ? rule.first : rule.second;
    }
  }
  WinRules();
}

void LaterMove() {
  switch (Opponent) {
    case kChristkind:
      FreeCellDraw(false);
      BlockRules();
      break;
    case kKnechtRuprecht:
      KnechtRuprechtMove();
      break;
    case kNikolaus:
      FreeCellDraw(true);
      BlockRules();
      WinRules();
      break;
    case kEngel:
      FreeCellDraw(false);
      break;
    default:
      return;
  }
  MarkRing(ComputerCell);
}

}  // namespace

void ComputerMove() {
  ResultTest();
  // MoveCount counts the marks, so a full board shows as 9. The board is looked at as well,
  // so that a count out of step with the board can never leave the free-cell draw spinning.
  if (MoveCount > 8 || BoardIsFull()) EndScreen();
  if (MoveCount == 0) {
    OpeningMove();
  } else {
    LaterMove();
  }
  ++MoveCount;
  ResultTest();
}

}  // namespace game
