// SPDX-License-Identifier: MIT
// What the game tells a screen reader through the headless back-end: the sentences of each
// step, and controls whose centres click what their labels name.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "game/geometry.h"
#include "game/result.h"
#include "game/words.h"
#include "support/game_test_support.h"

namespace {

using game_test::EndStatusOf;
using GameWords = game_test::GameTest;

// A seed whose first draw from 1 to 2 is first_mover.
int32_t SeedForFirstMover(int32_t first_mover) {
  for (int32_t seed = 1;; ++seed) {
    layer::SeedRandom(seed);
    if (game_test::Draw(2) == first_mover) return seed;
  }
}

void Start(int32_t opponent, int32_t first_mover) {
  game::ResetState();
  game::Opponent = opponent;
  layer::SeedRandom(SeedForFirstMover(first_mover));
  game::StartGame();
}

// The end screen for the result, left by a key typed beforehand.
void End(int32_t result) {
  game_test::TypeKeyAndWait();
  game::GameResult = result;
  EndStatusOf([] { game::EndScreen(); });
}

TEST_F(GameWords, EachStepTellsItsSentencesAndNamesItsControls) {
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<std::string> told;
    size_t controls;
  };
  const std::vector<Step> steps = {
      {"menu", [] { game::StartUp(); },
       {"Gegner wählen: oben links Christkind, oben rechts Knecht Ruprecht, unten rechts "
        "Nikolaus, unten links Engel."},
       4},
      {"the computer begins", [] { Start(game::kKnechtRuprecht, 2); },
       {"Gegner: Knecht Ruprecht. Knecht Ruprecht beginnt.", "Ring: Mitte."}, 9},
      {"cross", [] { game::MarkCross(3); }, {"Kreuz: oben rechts."}, 9},
      {"ring", [] { game::MarkRing(8); }, {"Ring: unten Mitte."}, 9},
      {"lost", [] { End(game::kComputerWon); }, {"Verloren. Knecht Ruprecht hat gewonnen."}, 0},
      {"the person begins", [] { Start(game::kEngel, 1); }, {"Gegner: Engel. Du beginnst."}, 9},
      {"won", [] { End(game::kPersonWon); }, {"Gewonnen."}, 0},
      {"draw", [] { End(game::kNoLine); }, {"Remis."}, 0},
  };
  size_t seen = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    layer::testing::WaitForPasses(2);
    const std::vector<std::string> announced = layer::testing::Headless()->Announced();
    ASSERT_GE(announced.size(), seen);
    EXPECT_EQ(std::vector<std::string>(announced.begin() + seen, announced.end()), step.told);
    seen = announced.size();
    EXPECT_EQ(layer::testing::Headless()->Described().controls.size(), step.controls);
  }
}

std::vector<layer::ScreenControl> ControlsShown() {
  layer::testing::WaitForPasses(2);
  return layer::testing::Headless()->Described().controls;
}

// A control's centre is where a screen reader's choice clicks: it must fall on the corner or
// cell its label names, or the choice would play another move than the one read out.
TEST_F(GameWords, EachControlsCentreFallsOnWhatItsLabelNames) {
  const std::vector<std::string> corners = {"Christkind, oben links", "Knecht Ruprecht, oben rechts",
                                            "Nikolaus, unten rechts", "Engel, unten links"};
  game::StartUp();
  std::vector<layer::ScreenControl> controls = ControlsShown();
  ASSERT_EQ(controls.size(), 4u);
  for (int32_t n = 1; n <= 4; ++n) {
    const layer::ScreenControl& c = controls[n - 1];
    EXPECT_EQ(game::OpponentAt(c.x + c.width / 2, c.y + c.height / 2), n) << c.label;
    EXPECT_EQ(c.label, corners[n - 1]);
  }
  Start(game::kNikolaus, 2);  // with the opening ring in a corner
  controls = ControlsShown();
  ASSERT_EQ(controls.size(), 9u);
  for (int32_t n = 1; n <= 9; ++n) {
    const layer::ScreenControl& c = controls[n - 1];
    EXPECT_EQ(game::CellAt(c.x + c.width / 2, c.y + c.height / 2), n) << c.label;
    const char* holds = game::Board[n] == game::kRing ? "Ring" : "frei";
    EXPECT_EQ(c.label, "Feld " + std::string(game::CellWords(n)) + ", " + holds);
  }
}

}  // namespace
