// SPDX-License-Identifier: MIT
// The computer's choices. The generator is seeded, so each seed gives one exact game: the
// expected cell is worked out here from the same seeded draws, and every seed is checked.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <map>
#include <set>

#include "game/board.h"
#include "game/flow.h"
#include "game/opponent.h"
#include "support/game_test_support.h"

namespace {

using game_test::Draw;
using game_test::GameTest;

constexpr int32_t kSeeds = 400;
constexpr std::array<int32_t, 4> kCornerCells = {1, 3, 7, 9};
constexpr std::array<int32_t, 4> kEdges = {2, 4, 6, 8};

class ComputerMoveTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    OpenBoardScreen();
  }

  // Runs the computer's move and returns the cell it ringed (0 for none). A game that ends
  // reports its exit status through ended_; a key is kept waiting so the end screen returns.
  int32_t Move() {
    std::array<int32_t, 10> before{};
    for (int32_t cell = 1; cell <= 9; ++cell) before[cell] = game::Board[cell];
    if (!key_waiting_) {
      game_test::TypeKeyAndWait();
      key_waiting_ = true;
    }
    ended_ = game_test::EndStatusOf([] { game::ComputerMove(); });
    if (ended_) key_waiting_ = false;
    int32_t ringed = 0;
    for (int32_t cell = 1; cell <= 9; ++cell) {
      if (game::Board[cell] == before[cell]) continue;
      EXPECT_EQ(ringed, 0) << "a second cell changed";
      EXPECT_EQ(before[cell], game::kEmpty);
      EXPECT_EQ(game::Board[cell], game::kRing);
      ringed = cell;
    }
    return ringed;
  }

  // The person's cross followed by the computer's answer, as a click does it.
  int32_t Cross(int32_t cell) {
    game::Board[cell] = game::kCross;
    ++game::MoveCount;
    return Move();
  }

  // The first draw from 1 to 9 that lands on a free cell.
  static int32_t FreeCellDraw() {
    int32_t cell = 0;
    do {
      cell = Draw(9);
    } while (game::Board[cell] != game::kEmpty);
    return cell;
  }

  std::optional<int32_t> ended_;
  bool key_waiting_ = false;
};

using Cells = std::set<int32_t>;

TEST_F(ComputerMoveTest, OpeningMovesOfEachOpponent) {
  struct Case {
    int32_t opponent;
    Cells allowed;
  };
  const Case cases[] = {
      {1, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, {2, {5}}, {3, {1, 3, 7, 9}}, {4, {2, 4, 6, 8}}};
  for (const Case& c : cases) {
    Cells seen;
    for (int32_t seed = 1; seed <= kSeeds; ++seed) {
      layer::SeedRandom(seed);
      int32_t expected = 5;
      if (c.opponent == 1) {
        expected = Draw(9);
      } else if (c.opponent == 3) {
        expected = kCornerCells[Draw(4) - 1];
      } else if (c.opponent == 4) {
        expected = kEdges[Draw(4) - 1];
      }
      const double next_draw = layer::NextRandom(1.0f);

      SetPosition({}, {});
      game::Opponent = c.opponent;
      layer::SeedRandom(seed);
      ASSERT_EQ(Move(), expected) << "opponent " << c.opponent << " seed " << seed;
      EXPECT_EQ(game::MoveCount, 1);
      EXPECT_FALSE(ended_);
      // The opening uses exactly the draws worked out above.
      ASSERT_EQ(layer::NextRandom(1.0f), next_draw);
      seen.insert(expected);
    }
    EXPECT_EQ(seen, c.allowed) << "opponent " << c.opponent;
  }
}

TEST_F(ComputerMoveTest, AnswersToThePersonsOpeningCross) {
  // "Knecht Ruprecht": a free-cell draw, overridden by the centre or, when the centre is
  // crossed, by a corner that a second draw picks. "Nikolaus": while the centre is free every
  // draw is replaced by it, so exactly one draw is made; with the centre crossed, any free cell.
  for (int32_t opponent : {2, 3}) {
    for (int32_t opening = 1; opening <= 9; ++opening) {
      Cells seen;
      for (int32_t seed = 1; seed <= (opening == 5 ? kSeeds : 20); ++seed) {
        SetPosition({opening}, {});
        layer::SeedRandom(seed);
        int32_t expected = 5;
        if (opening == 5) {
          expected = FreeCellDraw();
          if (opponent == 2) expected = kCornerCells[Draw(4) - 1];
        } else if (opponent == 2) {
          FreeCellDraw();
        } else {
          Draw(9);
        }
        const double next_draw = layer::NextRandom(1.0f);

        game::Opponent = opponent;
        layer::SeedRandom(seed);
        ASSERT_EQ(Move(), expected)
            << "opponent " << opponent << " opening " << opening << " seed " << seed;
        ASSERT_EQ(layer::NextRandom(1.0f), next_draw)
            << "other draws: opponent " << opponent << " opening " << opening << " seed " << seed;
        seen.insert(expected);
      }
      Cells allowed = {5};
      if (opening == 5) allowed = opponent == 2 ? Cells{1, 3, 7, 9} : Cells{1, 2, 3, 4, 6, 7, 8, 9};
      EXPECT_EQ(seen, allowed) << "opponent " << opponent << " opening " << opening;
    }
  }
}

TEST_F(ComputerMoveTest, RandomPlayersIgnoreWhatTheyDoNotLookAt) {
  // "Engel" leaves two crosses in a line open and its own lines to chance; "Christkind" does
  // not complete its own lines on purpose. Both land on every free cell, exactly where the
  // free-cell draw lands, and only a ring on the closing cell ends the game.
  struct Case {
    int32_t opponent;
    std::initializer_list<int32_t> crosses;
    std::initializer_list<int32_t> rings;
    Cells free;
    int32_t closing;  // the free cell that completes a line of rings, 0 for none
  };
  const Case cases[] = {{4, {1, 2}, {5}, {3, 4, 6, 7, 8, 9}, 0},
                        {4, {1, 2, 9}, {4, 5}, {3, 6, 7, 8}, 6},
                        {1, {5, 9}, {1, 2}, {3, 4, 6, 7, 8}, 3},
                        // "Nikolaus" prefers the centre only in answer to the opening cross.
                        {3, {1, 6}, {3}, {2, 4, 5, 7, 8, 9}, 0},
                        {3, {1, 6, 8}, {3, 4}, {2, 5, 7, 9}, 0}};
  for (const Case& c : cases) {
    Cells seen;
    for (int32_t seed = 1; seed <= kSeeds; ++seed) {
      SetPosition(c.crosses, c.rings);
      layer::SeedRandom(seed);
      const int32_t expected = FreeCellDraw();
      game::Opponent = c.opponent;
      layer::SeedRandom(seed);
      ASSERT_EQ(Move(), expected) << "opponent " << c.opponent << " seed " << seed;
      EXPECT_EQ(ended_.has_value(), expected == c.closing);
      seen.insert(expected);
    }
    EXPECT_EQ(seen, c.free) << "opponent " << c.opponent;
  }
}

TEST_F(ComputerMoveTest, KnechtRuprechtRepliesToEdgeCrossesWithTheCornerBeforeThem) {
  const std::pair<int32_t, int32_t> replies[] = {{2, 1}, {8, 9}, {4, 7}, {6, 3}};
  for (auto [edge, corner] : replies) {
    for (int32_t seed = 1; seed <= 20; ++seed) {
      SetPosition({edge}, {5});
      game::Opponent = 2;
      layer::SeedRandom(seed);
      EXPECT_EQ(Move(), corner) << "edge " << edge << " seed " << seed;
    }
  }
  // A corner cross gets no reply: the free-cell draw stands.
  for (int32_t seed = 1; seed <= 50; ++seed) {
    SetPosition({3}, {5});
    layer::SeedRandom(seed);
    const int32_t expected = FreeCellDraw();
    game::Opponent = 2;
    layer::SeedRandom(seed);
    EXPECT_EQ(Move(), expected) << "seed " << seed;
  }
}

TEST_F(ComputerMoveTest, KnechtRuprechtSetsUpAForkAfterItsReply) {
  // Ring 5, cross on the edge, ring on the reply corner, cross on the far corner: the next
  // ring makes two lines of two rings, on either fork cell by a draw from 1 to 2.
  struct Case {
    int32_t edge, corner, far_corner;
    Cells forks;
  };
  const Case cases[] = {{2, 1, 9, {4, 7}}, {8, 9, 1, {3, 6}}, {4, 7, 3, {8, 9}}, {6, 3, 7, {1, 2}}};
  for (const Case& c : cases) {
    std::map<int32_t, int32_t> counts;
    for (int32_t seed = 1; seed <= kSeeds; ++seed) {
      // The draws of the two answers: a free-cell draw each, then the fork draw.
      SetPosition({c.edge}, {5});
      layer::SeedRandom(seed);
      FreeCellDraw();
      SetPosition({c.edge, c.far_corner}, {5, c.corner});
      FreeCellDraw();
      const int32_t expected = Draw(2) == 1 ? *c.forks.begin() : *c.forks.rbegin();

      SetPosition({}, {});
      game::Opponent = 2;
      layer::SeedRandom(seed);
      ASSERT_EQ(Move(), 5);
      ASSERT_EQ(Cross(c.edge), c.corner);
      const int32_t fork = Cross(c.far_corner);
      ASSERT_EQ(fork, expected) << "seed " << seed;
      EXPECT_FALSE(ended_);
      int32_t lines_of_two_rings = 0;
      for (int32_t line = 1; line <= 8; ++line) lines_of_two_rings += game::LineSum[line] == 20;
      EXPECT_EQ(lines_of_two_rings, 2);
      ++counts[fork];
    }
    // Both fork cells about half of the time each.
    ASSERT_EQ(counts.size(), 2u);
    for (auto [cell, count] : counts) {
      EXPECT_GT(count, kSeeds * 2 / 5) << "fork cell " << cell;
    }
  }
}

TEST_F(ComputerMoveTest, KnechtRuprechtWinsInsteadOfForking) {
  // The person's second cross leaves the diagonal through the two rings open.
  for (int32_t seed = 1; seed <= 10; ++seed) {
    SetPosition({}, {});
    game::Opponent = 2;
    layer::SeedRandom(seed);
    ASSERT_EQ(Move(), 5);
    ASSERT_EQ(Cross(2), 1);
    EXPECT_EQ(Cross(3), 9) << "seed " << seed;
    EXPECT_EQ(ended_, 0);
    EXPECT_EQ(game::GameResult, game::kComputerWon);
  }
}

TEST_F(ComputerMoveTest, FullBoardEndsOnTheDrawScreenWhateverTheMoveCount) {
  // A count behind the board must neither overwrite a mark nor draw for a free cell forever.
  SetPosition({1, 3, 5, 6, 8}, {2, 4, 7, 9});
  game::MoveCount = 0;
  game::Opponent = game::kKnechtRuprecht;  // whose opening would take the centre
  EXPECT_EQ(Move(), 0);
  EXPECT_EQ(ended_, 0);
  EXPECT_EQ(game::GameResult, game::kNoLine);
}

TEST_F(ComputerMoveTest, WinRulesOverrideBlockRulesAndTheHighestLineDecides) {
  // "Christkind", "Knecht Ruprecht" and "Nikolaus" in positions offering blocks and wins.
  struct Case {
    std::initializer_list<int32_t> crosses;
    std::initializer_list<int32_t> rings;
    std::array<int32_t, 3> taken;  // by opponents 1, 2, 3
    std::array<bool, 3> wins;
  };
  const Case cases[] = {
      // Crosses 1, 2, 4 threaten the top row (3) and the left column (7): line 4 decides.
      {{1, 2, 4}, {5, 9}, {7, 7, 7}, {false, false, false}},
      // Crosses 1, 2 threaten the top row (3); rings 4, 5 can close the middle row (6).
      {{1, 2, 9}, {4, 5}, {3, 6, 6}, {false, true, true}},
      // Rings 1, 2, 4 can close line 1 (3) or line 4 (7); crosses 6, 8, 9 threaten line 3 (7)
      // and line 6 (3). "Christkind" blocks on 3, which happens to close its top row.
      {{6, 8, 9}, {1, 2, 4}, {3, 7, 7}, {true, true, true}},
  };
  for (const Case& c : cases) {
    for (int32_t opponent = 1; opponent <= 3; ++opponent) {
      for (int32_t seed = 1; seed <= 10; ++seed) {
        SetPosition(c.crosses, c.rings);
        game::Opponent = opponent;
        layer::SeedRandom(seed);
        EXPECT_EQ(Move(), c.taken[opponent - 1])
            << "case " << (&c - cases) << " opponent " << opponent << " seed " << seed;
        EXPECT_EQ(ended_.has_value(), c.wins[opponent - 1]);
        EXPECT_EQ(game::GameResult == game::kComputerWon, c.wins[opponent - 1]);
      }
    }
  }
}

}  // namespace
