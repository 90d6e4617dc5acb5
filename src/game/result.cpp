// SPDX-License-Identifier: MIT
#include "result.h"

#include "banners.h"
#include "board.h"
#include "layer/layer.h"
#include "lines.h"
#include "words.h"

namespace game {
namespace {

constexpr int32_t kThreeCrosses = 3 * kCross;
constexpr int32_t kThreeRings = 3 * kRing;
constexpr uint32_t kTextColour = 0x0000AA;
constexpr int32_t kOnePoint = 4;

void WriteText(int32_t x, int32_t y, std::string_view text) {
  layer::DrawText(x, y, kOnePoint, text, kTextColour);
}

void WriteBanner(const Banner& banner) {
  for (const BannerRow& row : banner) WriteText(row.x, row.y, row.text);
}

}  // namespace

void ResultTest() {
  for (int32_t line = 1; line <= kLineCount; ++line) {
    int32_t sum = 0;
    for (CellIndex cell : CellsOfLine(line)) sum += Board[cell];
    LineSum[line] = sum;
  }
  for (int32_t line = 1; line <= kLineCount; ++line) {
    if (LineSum[line] == kThreeCrosses) {
      GameResult = kPersonWon;
      EndScreen();
    }
  }
  for (int32_t line = 1; line <= kLineCount; ++line) {
    if (LineSum[line] >= kThreeRings) {
      GameResult = kComputerWon;
      EndScreen();
    }
  }
}

void EndScreen() {
  switch (GameResult) {
    case kComputerWon:
      for (int32_t line = 1; line <= kLineCount; ++line) {
        if (LineSum[line] != kThreeRings) continue;
        for (CellIndex cell : CellsOfLine(line)) DrawRing(cell, kWinningRingColour);
      }
      if (Opponent >= 0 && Opponent < static_cast<int32_t>(kWinnerLines.size())) {
        WriteText(kWinnerLineX, kWinnerLineY, kWinnerLines[Opponent]);
      }
      WriteBanner(kLostBanner);
      break;
    case kPersonWon:
      WriteBanner(kWonBanner);
      break;
    default:
      WriteBanner(kDrawBanner);
      break;
  }
  TellResult();
  constexpr int32_t kUntilKey = -1;
  constexpr int32_t kKeyEndsWait = 0;
  layer::SleepMs(kUntilKey, kKeyEndsWait);
  layer::EndProgram(0);
}

}  // namespace game
