// SPDX-License-Identifier: MIT
// Result detection and the end screen, the last state of every finished game.
#pragma once

namespace game {

// Recomputes every LineSum from the board. On a complete line (the person's looked at first)
// sets GameResult and shows the end screen, which does not return.
void ResultTest();

// Marks the computer's complete lines in red, writes the banner for GameResult, waits for a
// key and ends the program with status 0.
[[noreturn]] void EndScreen();

}  // namespace game
