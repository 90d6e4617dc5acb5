// SPDX-License-Identifier: MIT
// The game on the real pictures that the build draws beside the program: the menu shows
// Menu.Vadi, and after a whole game every pixel that is not a mark or banner pixel still
// shows Vadi.Vadi, also right beside the crosses and rings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "support/game_test_support.h"

namespace {

using game_test::GameTest;

constexpr uint32_t kDefaultFill = 0xFFFF00FFu;

// The picture as loaded here, by its own spelling of the file name.
std::vector<uint32_t> Picture(const std::string& file_name) {
  layer::ImageBuffer* image = layer::CreateImage(651, 651, 0, 0, layer::kDefaultFill);
  EXPECT_EQ(layer::LoadPicture(layer::ProgramDirectory() + "/" + file_name, image), 0)
      << file_name << " is missing beside the test program";
  layer::ClearScreen(layer::kClearWholeScreen);
  layer::PutImage(0, 0, image);
  layer::ReleaseImage(image);
  std::vector<uint32_t> pixels = game_test::Snapshot();
  for (uint32_t pixel : pixels) {
    if (pixel == kDefaultFill) {
      ADD_FAILURE() << file_name << " was not loaded whole";
      break;
    }
  }
  return pixels;
}

using RealPictures = GameTest;

TEST_F(RealPictures, TheMenuShowsMenuVadi) {
  game::StartUp();
  const std::vector<uint32_t> shown = game_test::Snapshot();
  EXPECT_EQ(game_test::DifferingPixels(shown, Picture("Menu.Vadi")), 0);
}

TEST_F(RealPictures, AWholeGameIsPlayedOnVadiVadi) {
  game::StartUp();
  const std::vector<uint32_t> board = Picture("Vadi.Vadi");
  game::Opponent = game::kEngel;
  layer::SeedRandom(7);
  game::StartGame();
  game_test::TypeKeyAndWait();  // for the end screen
  const std::optional<int32_t> ended = game_test::EndStatusOf([] {
    for (int32_t cell = 1; cell <= 9; ++cell) {
      if (game::Board[cell] == game::kEmpty) game::PlayCross(cell);
    }
  });
  ASSERT_EQ(ended, 0) << "the game did not reach its end screen";

  const std::vector<uint32_t> shown = game_test::Snapshot();
  int64_t marks = 0;
  int64_t wrong = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    const uint32_t pixel = shown[i];
    if (pixel == 0x000000u || pixel == 0x0000AAu || pixel == 0xAA0000u) {
      ++marks;  // crosses, rings and the banner store their colours with a top byte of 0
    } else if (pixel != board[i] && ++wrong <= 3) {
      ADD_FAILURE() << "pixel (" << i % 651 << ", " << i / 651 << ") is " << std::hex << pixel
                    << ", the board picture has " << board[i];
    }
  }
  EXPECT_GT(marks, 1000);
  EXPECT_EQ(wrong, 0);
}

}  // namespace
