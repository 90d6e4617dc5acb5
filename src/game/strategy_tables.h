// SPDX-License-Identifier: MIT
// Fixed cells the computer's strategies choose from.
#pragma once

#include <array>
#include <cstdint>

namespace game {

// A draw from 1 to 4 selects one of these: kCorners[d - 1], kEdgeCells[d - 1].
inline constexpr std::array<int32_t, 4> kCorners = {1, 3, 7, 9};
inline constexpr std::array<int32_t, 4> kEdgeCells = {2, 4, 6, 8};

inline constexpr int32_t kCentre = 5;

// After a ring in the centre and one cross on an edge, "Knecht Ruprecht" takes the corner
// that comes just before that edge going clockwise along the border.
struct ReplyRule {
  int32_t cross_edge;
  int32_t corner;
};
inline constexpr std::array<ReplyRule, 4> kReplyRules = {{{2, 1}, {8, 9}, {4, 7}, {6, 3}}};

// The position a reply leads to, plus one more cross: either cell gives the computer two lines
// of two rings at once; a draw from 1 to 2 picks first or second.
struct ForkRule {
  int32_t ring_corner;
  int32_t cross_edge;
  int32_t first;
  int32_t second;
};
inline constexpr std::array<ForkRule, 4> kForkRules = {{
    {1, 2, 4, 7},
    {7, 4, 8, 9},
    {9, 8, 3, 6},
    {3, 6, 1, 2},
}};

}  // namespace game
