// SPDX-License-Identifier: MIT
// The program's flow through the headless back-end: start-up, the menu, the first mover, the
// turn loop's clicks and keys, and whole games played by clicking like a person.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "game/board.h"
#include "game/flow.h"
#include "screen/screen.h"
#include "support/game_test_support.h"

namespace {

using game_test::EndStatusOf;
using game_test::GameTest;
using game_test::Snapshot;

// What a freshly cleared screen shows after the picture file has been copied onto it.
std::vector<uint32_t> ScreenWithPicture(const char* file_name) {
  layer::ClearScreen(layer::kClearWholeScreen);
  layer::ImageBuffer* image = layer::CreateImage(651, 651, 0, 0, layer::kDefaultFill);
  layer::LoadPicture(layer::ProgramDirectory() + "/" + file_name, image);
  layer::PutImage(0, 0, image);
  layer::ReleaseImage(image);
  return Snapshot();
}

// The first seed whose first draw from 1 to 2 gives first_mover.
int32_t SeedForFirstMover(int32_t first_mover) {
  for (int32_t seed = 1;; ++seed) {
    layer::SeedRandom(seed);
    if (game_test::Draw(2) == first_mover) return seed;
  }
}

// The foreground colour as the game left it; a marker colour is set in its place.
uint32_t TakeForeground() {
  return layer::SetColour(0x123456, 0, 2);
}

using StartUpAndMenu = GameTest;

TEST_F(StartUpAndMenu, OpensTheScreenAndShowsTheMenuPicture) {
  game::Opponent = 3;
  game::Board[4] = game::kRing;
  game::StartUp();
  EXPECT_EQ(game::Opponent, 0);
  EXPECT_EQ(game::Board[4], game::kEmpty);
  layer::ScreenDescription screen;
  ASSERT_EQ(layer::ScreenInfo(screen), 0);
  EXPECT_EQ(screen.width, 651);
  EXPECT_EQ(screen.height, 651);
  EXPECT_EQ(screen.depth, 32);
  const std::vector<uint32_t> shown = Snapshot();
  EXPECT_EQ(game_test::DifferingPixels(shown, ScreenWithPicture("Menu.Vadi")), 0);
}

TEST_F(StartUpAndMenu, KeyAtTheMenuEndsWithStatus0AndDrawsNothingMore) {
  game::StartUp();
  const std::vector<uint32_t> menu = Snapshot();
  game_test::TypeKeyAndWait();
  EXPECT_EQ(EndStatusOf([] { game::RunMenuLoop(); }), 0);
  EXPECT_EQ(game::Opponent, 0);
  layer::testing::WaitForPasses(2);
  EXPECT_EQ(game_test::DifferingPixels(menu, Snapshot()), 0);
}

TEST_F(StartUpAndMenu, OnlyALeftClickAloneInACornerChoosesAnOpponent) {
  game::StartUp();
  layer::SetColour(0x123456, 0x404040, 0);
  EXPECT_FALSE(game::MenuPass());  // nothing pressed
  EXPECT_EQ(TakeForeground(), 0xFFFFFFu) << "every pass sets the foreground";
  game_test::PressButtonAt(630, 100);  // beside the top right corner
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::MenuPass());
  EXPECT_EQ(game::MouseX, 630);
  EXPECT_EQ(game::MouseButtons, 1);
  EXPECT_EQ(TakeForeground(), 0xFFFFFFu);

  layer::WindowMessage right = game_test::Message(layer::MessageKind::kButtonDown);
  right.button = 2;
  game_test::PressButtonAt(630, 630);
  game_test::Inject(right);  // left and right together
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::MenuPass());
  EXPECT_EQ(game::Opponent, 0);

  layer::WindowMessage right_up = game_test::Message(layer::MessageKind::kButtonUp);
  right_up.button = 2;
  game_test::Inject(right_up);
  layer::testing::WaitForPasses(2);
  EXPECT_TRUE(game::MenuPass());
  EXPECT_EQ(game::Opponent, game::kNikolaus);
  // The background colour was left as it was.
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(layer::testing::FramebufferPixel(0, 0), 0x404040u);
}

TEST_F(StartUpAndMenu, TheBoardAppearsNoSoonerThan200MsAfterTheChoice) {
  game::StartUp();
  // A pixel in which the board picture differs from the menu picture.
  const std::vector<uint32_t> menu = Snapshot();
  const std::vector<uint32_t> board = ScreenWithPicture("Vadi.Vadi");
  size_t i = 0;
  while (i < board.size() && board[i] == menu[i]) ++i;
  ASSERT_LT(i, board.size());
  const auto x = static_cast<int32_t>(i % 651);
  const auto y = static_cast<int32_t>(i / 651);
  game::ShowMenuPicture();
  layer::SeedRandom(SeedForFirstMover(1));  // no opening ring to cover the pixel
  game_test::PressButtonAt(100, 100);
  layer::testing::WaitForPasses(2);
  ASSERT_TRUE(game::MenuPass());

  std::atomic<bool> started{false};
  std::atomic<double> shown{0};
  std::thread watcher([&] {
    while (layer::testing::FramebufferPixel(x, y) != board[i] && !started) {
      std::this_thread::yield();
    }
    shown = layer::ClockSeconds();
  });
  const double chosen = layer::ClockSeconds();
  game::StartGame();
  started = true;
  watcher.join();
  EXPECT_EQ(layer::testing::FramebufferPixel(x, y), board[i]);
  EXPECT_GE(shown - chosen, 0.2) << "the board came before the pause had passed";
}

TEST_F(StartUpAndMenu, WithoutADisplayTheProgramSaysWhyAndEndsWithStatus1) {
  layer::SetBackendFactory([] { return layer::BackendList{}; });
  ::testing::internal::CaptureStderr();
  const std::optional<int32_t> status = EndStatusOf([] { game::RunProgram(); });
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(said, "xmas-tictactoe: cannot open a window: no display available\n");
}

using TurnLoop = GameTest;

TEST_F(TurnLoop, FirstMoverIsDrawnAndTheComputerOpensWhenItIsTwo) {
  OpenBoardScreen();
  for (int32_t first_mover : {1, 2}) {
    const int32_t seed = SeedForFirstMover(first_mover);
    const std::vector<uint32_t> board_picture = ScreenWithPicture("Vadi.Vadi");
    layer::ClearScreen(layer::kClearWholeScreen);
    game::ResetState();
    game::Opponent = game::kKnechtRuprecht;
    layer::SeedRandom(seed);
    game::StartGame();
    EXPECT_EQ(game::FirstMover, first_mover);
    EXPECT_EQ(game::MoveCount, first_mover - 1);
    EXPECT_EQ(game::Board[5], first_mover == 2 ? game::kRing : game::kEmpty);
    const std::vector<uint32_t> shown = Snapshot();
    // The board picture covers the screen, with the opening ring on top of it.
    const int64_t ring_pixels = game_test::DifferingPixels(shown, board_picture);
    EXPECT_EQ(ring_pixels > 0, first_mover == 2);
    EXPECT_EQ(game_test::RingsShown(), first_mover - 1);
  }
}

TEST_F(TurnLoop, OnlyALeftClickAloneOnAFreeCellPlacesACross) {
  OpenBoardScreen();
  game::Opponent = game::kEngel;
  game::MarkRing(5);
  game::MoveCount = 1;
  layer::SeedRandom(3);
  const double first_draw = layer::NextRandom(1.0f);
  layer::SeedRandom(3);
  const std::vector<uint32_t> before = Snapshot();

  // On the computer's ring: nothing changes and the computer does not move.
  TakeForeground();
  game_test::PressButtonAt(325, 325);
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::TurnPass());
  EXPECT_EQ(TakeForeground(), 0xFFFFFFu) << "a left click alone sets the foreground";
  EXPECT_EQ(game::MoveCount, 1);
  EXPECT_EQ(game::Board[5], game::kRing);
  EXPECT_EQ(game_test::DifferingPixels(before, Snapshot()), 0);
  // In the gap between two cells, with the right button, or outside the window: the same.
  game_test::ReleaseButton();
  game_test::PressButtonAt(215, 215);
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::TurnPass());
  game_test::ReleaseButton();
  TakeForeground();
  layer::WindowMessage right = game_test::Message(layer::MessageKind::kButtonDown);
  right.button = 2;
  game_test::Inject(right);
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::TurnPass());
  EXPECT_EQ(game::MouseButtons, 2);
  EXPECT_EQ(TakeForeground(), 0x123456u) << "other buttons leave it";
  layer::WindowMessage outside = game_test::Message(layer::MessageKind::kMouseMove);
  outside.pointer_inside = false;
  outside.x = 100;
  outside.y = 100;
  game_test::Inject(outside);
  layer::testing::WaitForPasses(2);
  EXPECT_FALSE(game::TurnPass());
  EXPECT_EQ(game::MouseX, -1);
  EXPECT_EQ(game::MouseButtons, -1);
  EXPECT_EQ(game_test::DifferingPixels(before, Snapshot()), 0);
  EXPECT_EQ(layer::NextRandom(1.0f), first_draw);

  // A left click on a free cell: a cross, counted, answered by a ring. Held, it does no more.
  layer::WindowMessage right_up = game_test::Message(layer::MessageKind::kButtonUp);
  right_up.button = 2;
  game_test::Inject(right_up);
  game_test::PressButtonAt(430, 100);
  layer::testing::WaitForPasses(2);
  EXPECT_TRUE(game::TurnPass());
  EXPECT_EQ(game::Board[2], game::kCross);
  EXPECT_TRUE(game_test::ShowsCross(2));
  EXPECT_EQ(game::MoveCount, 3);
  EXPECT_EQ(game_test::RingsShown(), 2);
  EXPECT_FALSE(game::TurnPass());
  EXPECT_EQ(game::MoveCount, 3);
}

TEST_F(TurnLoop, KeyDuringTheGameEndsAtOnceWithoutAnEndScreen) {
  OpenBoardScreen();
  game::Opponent = game::kEngel;
  game::MarkRing(5);
  game::MoveCount = 1;
  const std::vector<uint32_t> before = Snapshot();
  game_test::TypeKeyAndWait();
  EXPECT_EQ(EndStatusOf([] { game::RunTurnLoop(); }), 0);
  EXPECT_EQ(game_test::DifferingPixels(before, Snapshot()), 0);
}

TEST_F(TurnLoop, FullBoardIsNoticedBeforeThePoll) {
  OpenBoardScreen();
  SetPosition({1, 2, 6, 7}, {3, 4, 5, 8, 9});  // the computer's last ring closed nothing
  game_test::TypeKeyAndWait();
  EXPECT_EQ(EndStatusOf([] { game::TurnPass(); }), 0);
  // The draw banner's first row starts with a '*' at (240, 300).
  EXPECT_EQ(layer::testing::FramebufferPixel(240, 303), 0x0000AAu);
}

// ---- Whole games ----------------------------------------------------------------------------

enum class Banner { kNone, kDraw, kLost, kWon };

// Which banner is on screen, told by the solid middle row of the first '*' of its first row.
Banner BannerShown() {
  // Looked at in this order: the lost banner's row also covers x 240..247 solidly.
  const std::pair<int32_t, Banner> starts[] = {
      {188, Banner::kLost}, {220, Banner::kWon}, {240, Banner::kDraw}};
  for (auto [x, banner] : starts) {
    bool solid = true;
    for (int32_t dx = 0; dx < 8; ++dx) {
      solid = solid && layer::testing::FramebufferPixel(x + dx, 303) == 0x0000AA;
    }
    if (solid) return banner;
  }
  return Banner::kNone;
}

constexpr std::array<std::array<int32_t, 3>, 8> kLines = {
    {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 4, 7}, {2, 5, 8}, {3, 6, 9}, {1, 5, 9}, {3, 5, 7}}};

// A person at the screen: sees the rings, remembers its own crosses and clicks.
class WholeGame : public GameTest {
 protected:
  enum class Person { kCareless, kCareful };

  void TearDown() override {
    StopGame();
    GameTest::TearDown();
  }

  // Waits, one window pass at a time, until the condition holds (false after many passes).
  static bool WaitUntil(const std::function<bool()>& condition) {
    for (int32_t pass = 0; pass < 1000; ++pass) {
      if (condition()) return true;
      layer::testing::WaitForPasses(1);
    }
    return condition();
  }

  void StartGame(int32_t seed) {
    StopGame();
    started_ = false;
    status_ = -1;
    game_thread_ = std::thread([this, seed] {
      status_ = EndStatusOf([this, seed] {
                  game::StartUp();
                  layer::SeedRandom(seed);  // instead of the clock, for a repeatable game
                  started_ = true;
                  game::RunMenuLoop();
                  game::StartGame();
                  game::RunTurnLoop();
                }).value_or(-2);
      started_ = true;
    });
    for (int32_t i = 0; i < 10000 && !started_; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  // A key ends the game from the menu, the turn loop and the end screen alike.
  void StopGame() {
    if (!game_thread_.joinable()) return;
    if (layer::testing::Headless() != nullptr) game_test::TypeKey();
    game_thread_.join();
  }

  // Careful people complete their own line, else block a line of two rings; everyone else
  // takes the first free cell of the preference order.
  int32_t Choose(Person person) const {
    std::array<int32_t, 10> board{};
    for (int32_t cell = 1; cell <= 9; ++cell) {
      board[cell] = crosses_.count(cell) ? 1 : game_test::ShowsRing(cell) ? 10 : 0;
    }
    if (person == Person::kCareful) {
      for (int32_t wanted : {2, 20}) {
        for (const auto& line : kLines) {
          if (board[line[0]] + board[line[1]] + board[line[2]] != wanted) continue;
          for (int32_t cell : line) {
            if (board[cell] == 0) return cell;
          }
        }
      }
    }
    for (int32_t cell : {5, 1, 9, 3, 7, 2, 4, 6, 8}) {
      if (board[cell] == 0) return cell;
    }
    return 0;
  }

  // Plays one game from the menu to the key on the end screen; returns the banner shown.
  Banner Play(int32_t opponent, int32_t seed, Person person) {
    const Banner banner = PlayUntilEndScreen(opponent, seed, person);
    StopGame();
    if (banner != Banner::kNone) {
      EXPECT_EQ(status_, 0);
      ExpectBannerFitsTheBoard(banner);
    }
    return banner;
  }

  Banner PlayUntilEndScreen(int32_t opponent, int32_t seed, Person person) {
    layer::SeedRandom(seed);
    const int32_t first_mover = game_test::Draw(2);
    crosses_.clear();
    StartGame(seed);
    EXPECT_TRUE(started_);
    EXPECT_NE(layer::testing::Headless(), nullptr);
    if (!started_ || layer::testing::Headless() == nullptr) return Banner::kNone;

    // The corner click stays held through the pause: it lands on the corner's cell unless
    // the computer's opening ring is already there.
    const std::array<std::pair<int32_t, int32_t>, 4> corners = {
        {{100, 100}, {530, 100}, {630, 630}, {100, 530}}};
    const std::array<int32_t, 4> corner_cells = {1, 3, 9, 7};
    const int32_t held = corner_cells[opponent - 1];
    game_test::PressButtonAt(corners[opponent - 1].first, corners[opponent - 1].second);
    const bool settled = WaitUntil([&] {
      const int32_t rings = game_test::RingsShown();
      if (game_test::ShowsCross(held)) return rings == first_mover;
      return first_mover == 2 && rings == 1 && game_test::ShowsRing(held);
    });
    EXPECT_TRUE(settled) << "the game did not start";
    if (!settled) return Banner::kNone;
    game_test::ReleaseButton();
    if (game_test::ShowsCross(held)) crosses_.insert(held);

    for (int32_t turn = 0; turn < 9 && BannerShown() == Banner::kNone; ++turn) {
      const int32_t cell = Choose(person);
      if (cell == 0) break;
      const int32_t rings = game_test::RingsShown();
      game_test::PressButtonAt(game_test::CentreX(cell), game_test::CentreY(cell));
      crosses_.insert(cell);
      const bool answered = WaitUntil(
          [&] { return BannerShown() != Banner::kNone || game_test::RingsShown() > rings; });
      EXPECT_TRUE(answered) << "no answer to the cross on " << cell;
      if (!answered) return Banner::kNone;
      game_test::ReleaseButton();
    }
    EXPECT_TRUE(WaitUntil([] { return BannerShown() != Banner::kNone; }));
    return BannerShown();
  }

  // Checked once the game's thread has ended: the banner and the red rings follow from the
  // board, and the screen shows the board's rings.
  void ExpectBannerFitsTheBoard(Banner banner) {
    int32_t marks = 0;
    std::set<int32_t> red;
    Banner expected = Banner::kDraw;
    for (int32_t cell = 1; cell <= 9; ++cell) {
      marks += game::Board[cell] != game::kEmpty;
      EXPECT_EQ(game_test::ShowsRing(cell), game::Board[cell] == game::kRing) << "cell " << cell;
      if (game::Board[cell] == game::kCross) {
        EXPECT_TRUE(crosses_.count(cell)) << "cross on " << cell << " was never clicked";
      }
    }
    for (const auto& line : kLines) {
      const int32_t sum = game::Board[line[0]] + game::Board[line[1]] + game::Board[line[2]];
      if (sum == 3) expected = Banner::kWon;
      if (sum == 30 && expected != Banner::kWon) {
        expected = Banner::kLost;
        red.insert(line.begin(), line.end());
      }
    }
    EXPECT_EQ(game::MoveCount, marks);
    if (expected == Banner::kDraw) {
      EXPECT_EQ(marks, 9);
    }
    EXPECT_EQ(banner, expected);
    for (int32_t cell = 1; cell <= 9; ++cell) {
      if (game::Board[cell] != game::kRing) continue;
      EXPECT_EQ(game_test::RingTopPixel(cell), red.count(cell) ? 0xAA0000u : 0x0000AAu)
          << "ring on " << cell;
    }
  }

  std::thread game_thread_;
  std::atomic<bool> started_{false};
  std::atomic<int32_t> status_{-1};
  std::set<int32_t> crosses_;
};

TEST_F(WholeGame, AgainstEveryOpponentEndingOnEachBanner) {
  std::set<Banner> banners;
  for (int32_t opponent = 1; opponent <= 4; ++opponent) {
    for (Person person : {Person::kCareless, Person::kCareful}) {
      SCOPED_TRACE(::testing::Message()
                   << "opponent " << opponent << " person " << static_cast<int>(person));
      banners.insert(Play(opponent, 10 * opponent + static_cast<int32_t>(person), person));
      layer::testing::CloseScreenForTest();
      layer::testing::UseHeadlessBackend();
    }
  }
  EXPECT_EQ(banners, (std::set<Banner>{Banner::kDraw, Banner::kLost, Banner::kWon}));
}

}  // namespace
