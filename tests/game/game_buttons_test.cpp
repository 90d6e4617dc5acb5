// SPDX-License-Identifier: MIT
// Every combination of the five mouse buttons in the menu and the turn loop: only the left
// button alone chooses an opponent or places a cross.
#include <gtest/gtest.h>

#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "support/game_test_support.h"

namespace {

using game_test::GameTest;

// Every button set from 0 to 31, the left button alone last.
std::vector<int32_t> ButtonSets() {
  std::vector<int32_t> sets;
  for (int32_t buttons = 0; buttons < 32; ++buttons) {
    if (buttons != 1) sets.push_back(buttons);
  }
  sets.push_back(1);
  return sets;
}

class ButtonCombinations : public GameTest {
 protected:
  // Moves the pointer to (x, y) and presses and releases buttons until exactly `buttons` are
  // held, then waits until the window thread has handed that over.
  void Hold(int32_t buttons, int32_t x, int32_t y) {
    layer::WindowMessage move = game_test::Message(layer::MessageKind::kMouseMove);
    move.x = x;
    move.y = y;
    game_test::Inject(move);
    for (int32_t bit = 1; bit <= 16; bit <<= 1) {
      const bool want = (buttons & bit) != 0;
      if (want == ((held_ & bit) != 0)) continue;
      layer::WindowMessage change = game_test::Message(want ? layer::MessageKind::kButtonDown
                                                            : layer::MessageKind::kButtonUp);
      change.button = bit;
      game_test::Inject(change);
    }
    held_ = buttons;
    layer::testing::WaitForPasses(2);
  }

  int32_t held_ = 0;
};

TEST_F(ButtonCombinations, OnlyTheLeftButtonAloneChoosesAnOpponent) {
  game::StartUp();
  for (int32_t buttons : ButtonSets()) {
    Hold(buttons, 100, 100);
    EXPECT_EQ(game::MenuPass(), buttons == 1) << "buttons " << buttons;
    EXPECT_EQ(game::Opponent, buttons == 1 ? game::kChristkind : 0) << "buttons " << buttons;
  }
}

TEST_F(ButtonCombinations, OnlyTheLeftButtonAlonePlacesACross) {
  OpenBoardScreen();
  game::Opponent = game::kEngel;
  for (int32_t buttons : ButtonSets()) {
    Hold(buttons, game_test::CentreX(1), game_test::CentreY(1));
    EXPECT_EQ(game::TurnPass(), buttons == 1) << "buttons " << buttons;
    EXPECT_EQ(game::Board[1], buttons == 1 ? game::kCross : game::kEmpty) << "buttons " << buttons;
  }
}

}  // namespace
