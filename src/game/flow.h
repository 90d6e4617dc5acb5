// SPDX-License-Identifier: MIT
// The program's main procedure: start-up, the opponent menu, the board and the turn loop.
//
// The steps are exposed one by one so that a game can be started from any point; the shipped
// program only calls RunProgram.
#pragma once

#include <cstdint>

#include "board.h"

namespace game {

// Start-up, menu, game; ends the process on every way out.
[[noreturn]] void RunProgram();

// Resets the state, seeds the generator from the clock, opens and clears the window and shows
// the menu picture. Without a window the program says why on stderr and ends with status 1.
void StartUp();

// Polls until a menu corner is clicked (returns with Opponent set) or a key ends the program.
void RunMenuLoop();
// One pass of the menu loop; true once an opponent is chosen.
bool MenuPass();

// After the choice: the 200 ms pause, the board picture, the first mover draw and, when the
// computer moves first, its opening ring.
void StartGame();

// Polls clicks and keys until the game ends; never returns.
[[noreturn]] void RunTurnLoop();
// One pass of the turn loop; true when a click placed a cross.
bool TurnPass();

// A cross in a free cell: written, drawn, counted and answered by the computer.
void PlayCross(CellIndex cell);

// Copies a picture file from the program's directory onto the whole window.
void ShowMenuPicture();
void ShowBoardPicture();

}  // namespace game
