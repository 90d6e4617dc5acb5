// SPDX-License-Identifier: MIT
// The computer's move: chooses a free cell by the chosen opponent's strategy, rings it and
// checks the result. Ends the program through the end screen when the game is over.
#pragma once

namespace game {

// Runs with MoveCount holding the marks already on the board (the person's latest cross
// included). Returns when the game goes on.
void ComputerMove();

}  // namespace game
