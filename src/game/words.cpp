// SPDX-License-Identifier: MIT
#include "words.h"

#include <array>
#include <string_view>
#include <vector>

#include "banners.h"
#include "geometry.h"
#include "layer/layer.h"

namespace game {
namespace {

constexpr std::array<std::string_view, kCellCount + 1> kCellWords = {
    "",           "oben links", "oben Mitte",  "oben rechts",  "Mitte links",
    "Mitte",      "Mitte rechts", "unten links", "unten Mitte", "unten rechts"};

// By Opponent, and the corner of the menu each has (as kMenuRects lays them out).
constexpr std::array<std::string_view, 5> kOpponentNames = {"", "Christkind", "Knecht Ruprecht",
                                                            "Nikolaus", "Engel"};
constexpr std::array<std::string_view, 5> kCornerWords = {"", "oben links", "oben rechts",
                                                          "unten rechts", "unten links"};

std::string_view OpponentName() {
  return Opponent > 0 && Opponent < static_cast<int32_t>(kOpponentNames.size())
             ? kOpponentNames[Opponent]
             : std::string_view();
}

std::string_view MarkWord(CellIndex cell) {
  return Board[cell] == kCross ? "Kreuz" : Board[cell] == kRing ? "Ring" : "frei";
}

layer::ScreenControl ControlOver(const Span& x, const Span& y, std::string label) {
  return {x.first, y.first, x.last - x.first + 1, y.last - y.first + 1, std::move(label)};
}

// "oben links frei, oben Mitte Kreuz, ..." for the nine cells in order.
std::string CellsInWords() {
  std::string text;
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    if (cell > 1) text += ", ";
    text.append(CellWords(cell)).append(" ").append(MarkWord(cell));
  }
  return text;
}

// The board under its heading, and the nine cells as controls over their click areas.
void DescribeBoard() {
  std::vector<layer::ScreenControl> cells;
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    const Span& columns = cell == 2 ? kCell2ClickColumn : ColumnBand(cell).click;
    cells.push_back(ControlOver(columns, RowBand(cell).click,
                                "Feld " + std::string(CellWords(cell)) + ", " +
                                    std::string(MarkWord(cell))));
  }
  layer::DescribeScreen("Spielfeld gegen " + std::string(OpponentName()) + ": " + CellsInWords(),
                        cells);
}

}  // namespace

std::string_view CellWords(CellIndex cell) {
  return cell > 0 && cell <= kCellCount ? kCellWords[cell] : std::string_view();
}

void TellMenu() {
  std::string corners;
  std::vector<layer::ScreenControl> controls;
  for (int32_t opponent = 1; opponent < static_cast<int32_t>(kOpponentNames.size()); ++opponent) {
    if (opponent > 1) corners += ", ";
    corners.append(kCornerWords[opponent]).append(" ").append(kOpponentNames[opponent]);
    const Rect& corner = kMenuRects[opponent - 1];
    controls.push_back(ControlOver(corner.x, corner.y,
                                   std::string(kOpponentNames[opponent]) + ", " +
                                       std::string(kCornerWords[opponent])));
  }
  const std::string sentence = "Gegner wählen: " + corners + ".";
  layer::DescribeScreen("Menü. " + sentence, controls);
  layer::Announce(sentence);
}

void TellStart() {
  const std::string name(OpponentName());
  DescribeBoard();
  layer::Announce("Gegner: " + name + ". " +
                  (FirstMover == 2 ? name + " beginnt." : std::string("Du beginnst.")));
}

void TellMark(CellIndex cell) {
  DescribeBoard();
  layer::Announce(std::string(MarkWord(cell)) + ": " + std::string(CellWords(cell)) + ".");
}

void TellResult() {
  std::string sentence;
  switch (GameResult) {
    case kComputerWon:
      sentence = std::string(kLostWord) + ".";
      if (Opponent > 0 && Opponent < static_cast<int32_t>(kWinnerLines.size())) {
        sentence.append(" ").append(kWinnerLines[Opponent]).append(".");
      }
      break;
    case kPersonWon:
      sentence = std::string(kWonWord) + ".";
      break;
    default:
      sentence = std::string(kDrawWord) + ".";
      break;
  }
  layer::DescribeScreen(sentence + " Spielfeld: " + CellsInWords(), {});
  layer::Announce(sentence);
}

}  // namespace game
