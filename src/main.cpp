// SPDX-License-Identifier: MIT
// xmas-tictactoe: noughts and crosses against one of four Christmas opponents.
#include "game/flow.h"

int main() {
  game::RunProgram();
}
