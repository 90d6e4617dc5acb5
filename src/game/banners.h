// SPDX-License-Identifier: MIT
// The result banners, written in '*' characters over the middle of the board, and the names
// of the opponents. Rows are drawn whole, trailing spaces included.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace game {

struct BannerRow {
  int32_t x;
  int32_t y;
  std::string_view text;
};

using Banner = std::array<BannerRow, 7>;

// The word each banner spells, as a screen reader is told it.
inline constexpr std::string_view kDrawWord = "Remis";
inline constexpr std::string_view kLostWord = "Verloren";
inline constexpr std::string_view kWonWord = "Gewonnen";

// The board filled up without a complete line.
inline constexpr Banner kDrawBanner = {{
    {240, 300, "***  *** *   * * ***"},
    {240, 310, "* *  *   * * * * *  "},
    {240, 320, "***  *   *   * * *  "},
    {240, 330, "*    *** *   * * ***"},
    {240, 340, "**   *   *   * *   *"},
    {240, 350, "* *  *   *   * *   *"},
    {240, 360, "*  * *** *   * * ***"},
}};

// The computer completed a line.
inline constexpr Banner kLostBanner = {{
    {188, 300, "* *  ***  ***   *    ***  ***   ***  *  *"},
    {188, 310, "* *  *    * *   *    * *  * *   *    ** *"},
    {188, 320, "* *  *    ***   *    * *  ***   *    ** *"},
    {188, 330, "* *  ***  *     *    * *  *     ***  * **"},
    {188, 340, "* *  *    **    *    * *  **    *    * **"},
    {188, 350, "* *  *    * *   *    * *  * *   *    *  *"},
    {188, 360, " *   ***  *  *  ***  ***  *  *  ***  *  *"},
}};

// The person completed a line: five stored rows, the first two used twice.
inline constexpr std::string_view kWonRow1 = "***  ***  *   *  ***  *  *  ***  *  *";
inline constexpr std::string_view kWonRow2 = "*    *    *   *  * *  ** *  *    ** *";
inline constexpr std::string_view kWonRow3 = "***  ***  *   *  * *  * **  ***  * **";
inline constexpr std::string_view kWonRow4 = "* *  *    *   *  * *  * **  *    * **";
inline constexpr std::string_view kWonRow5 = "* *  *    * * *  * *  *  *  *    *  *";
inline constexpr Banner kWonBanner = {{
    {220, 300, kWonRow1},
    {220, 310, kWonRow2},
    {220, 320, kWonRow2},
    {220, 330, kWonRow3},
    {220, 340, kWonRow4},
    {220, 350, kWonRow5},
    {220, 360, kWonRow1},
}};

// Above the lost banner: the winner by Opponent (index 0: none chosen, nothing written).
inline constexpr int32_t kWinnerLineX = 220;
inline constexpr int32_t kWinnerLineY = 250;
inline constexpr std::array<std::string_view, 5> kWinnerLines = {
    "", "Christkind hat gewonnen", "Knecht Ruprecht hat gewonnen", "Nikolaus hat gewonnen",
    "Engel hat gewonnen"};

}  // namespace game
