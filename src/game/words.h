// SPDX-License-Identifier: MIT
// What the game tells a screen reader, in German: the menu's four corners, the opponent and
// who begins, every cross and ring with its cell, and the result with the banner's word. With
// each, the screen's name and its controls (the corners, then the nine cells) are renewed.
#pragma once

#include <string>
#include <string_view>

#include "board.h"

namespace game {

// A cell in words, row then column: "oben links", "Mitte", "unten rechts", ...
std::string_view CellWords(CellIndex cell);

// The menu with its four opponents.
void TellMenu();
// The opponent chosen and who begins, with the empty board.
void TellStart();
// The mark just written into the cell, with the board.
void TellMark(CellIndex cell);
// The result (GameResult, Opponent), with the board and no controls.
void TellResult();

}  // namespace game
