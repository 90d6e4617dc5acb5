// SPDX-License-Identifier: MIT
#include "words.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "banners.h"
#include "geometry.h"
#include "layer/layer.h"

namespace game {
namespace {

constexpr std::array<std::string_view, kCellCount + 1> kCellWords = {
    "",      "oben links",   "oben Mitte",  "oben rechts", "Mitte links",
    "Mitte", "Mitte rechts", "unten links", "unten Mitte", "unten rechts"};

// By Opponent, and the corner of the menu each has (as kMenuRects lays them out).
constexpr std::array<std::string_view, 5> kOpponentNames = {"", "Christkind", "Knecht Ruprecht",
                                                            "Nikolaus", "Engel"};
constexpr std::array<std::string_view, 5> kCornerWords = {"", "oben links", "oben rechts",
                                                          "unten rechts", "unten links"};

// A sentence put together from pieces in place, without allocating (the longest is the
// board's name, about 200 bytes).
class Text {
 public:
  Text& operator<<(std::string_view piece) {
    const size_t taken = std::min(piece.size(), bytes_.size() - size_);
    std::copy_n(piece.begin(), taken, bytes_.begin() + size_);  // an empty piece may have no data
    size_ += taken;
    return *this;
  }
  std::string_view View() const { return {bytes_.data(), size_}; }

 private:
  std::array<char, 400> bytes_{};
  size_t size_ = 0;
};

std::string_view OpponentName() {
  return Opponent > 0 && Opponent < static_cast<int32_t>(kOpponentNames.size())
             ? kOpponentNames[Opponent]
             : std::string_view();
}

std::string_view MarkWord(CellIndex cell) {
  return Board[cell] == kCross ? "Kreuz" : Board[cell] == kRing ? "Ring" : "frei";
}

layer::ScreenControl ControlOver(const Span& x, const Span& y, const Text& label) {
  return {x.first, y.first, x.last - x.first + 1, y.last - y.first + 1, std::string(label.View())};
}

// "oben links frei, oben Mitte Kreuz, ..." for the nine cells in order.
Text& AddCells(Text& text) {
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    text << (cell > 1 ? ", " : "") << kCellWords[cell] << " " << MarkWord(cell);
  }
  return text;
}

// The board under its heading, and the nine cells as controls over their click areas.
void DescribeBoard() {
  std::vector<layer::ScreenControl> cells;
  for (CellIndex cell = 1; cell <= kCellCount; ++cell) {
    const Span& columns = cell == 2 ? kCell2ClickColumn : ColumnBand(cell).click;
    Text label;
    label << "Feld " << kCellWords[cell] << ", " << MarkWord(cell);
    cells.push_back(ControlOver(columns, RowBand(cell).click, label));
  }
  Text name;
  layer::DescribeScreen(AddCells(name << "Spielfeld gegen " << OpponentName() << ": ").View(),
                        cells);
}

}  // namespace

std::string_view CellWords(CellIndex cell) {
  return cell > 0 && cell <= kCellCount ? kCellWords[cell] : std::string_view();
}

void TellMenu() {
  Text sentence;
  std::vector<layer::ScreenControl> controls;
  sentence << "Gegner wählen: ";
  for (int32_t opponent = 1; opponent < static_cast<int32_t>(kOpponentNames.size()); ++opponent) {
    sentence << (opponent > 1 ? ", " : "") << kCornerWords[opponent] << " "
             << kOpponentNames[opponent];
    const Rect& corner = kMenuRects[opponent - 1];
    Text label;
    label << kOpponentNames[opponent] << ", " << kCornerWords[opponent];
    controls.push_back(ControlOver(corner.x, corner.y, label));
  }
  sentence << ".";
  Text name;
  layer::DescribeScreen((name << "Menü. " << sentence.View()).View(), controls);
  layer::Announce(sentence.View());
}

void TellStart() {
  DescribeBoard();
  Text sentence;
  sentence << "Gegner: " << OpponentName() << ". ";
  if (FirstMover == 2) {
    sentence << OpponentName() << " beginnt.";
  } else {
    sentence << "Du beginnst.";
  }
  layer::Announce(sentence.View());
}

void TellMark(CellIndex cell) {
  DescribeBoard();
  Text sentence;
  layer::Announce((sentence << MarkWord(cell) << ": " << CellWords(cell) << ".").View());
}

void TellResult() {
  Text sentence;
  switch (GameResult) {
    case kComputerWon:
      sentence << kLostWord << ".";
      if (Opponent > 0 && Opponent < static_cast<int32_t>(kWinnerLines.size())) {
        sentence << " " << kWinnerLines[Opponent] << ".";
      }
      break;
    case kPersonWon:
      sentence << kWonWord << ".";
      break;
    default:
      sentence << kDrawWord << ".";
      break;
  }
  Text name;
  layer::DescribeScreen(AddCells(name << sentence.View() << " Spielfeld: ").View(), {});
  layer::Announce(sentence.View());
}

}  // namespace game
