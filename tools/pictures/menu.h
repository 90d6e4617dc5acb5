// SPDX-License-Identifier: MIT
// The opponent menu picture: a Christmas night with the four opponents, each on a card inside
// the corner that chooses it, and the invitation to choose in the middle.
#pragma once

#include "pictures/canvas.h"

namespace pictures {

struct OpponentCard {
  const char* name_lines[2];  // the second is nullptr for a one-line name
  Box card;                   // pixel edges: x0 .. x1 covers pixels x0 to x1 - 1
};

// Christkind, Knecht Ruprecht, Nikolaus, Engel, each inside the corner a click chooses it by:
// x 0..209 y 0..209, x 443..621 y 0..209, x 443..649 y 443..649, x 0..209 y 443..621.
constexpr OpponentCard kOpponentCards[] = {
    {{"Christkind", nullptr}, {5, 5, 205, 205}},
    {{"Knecht", "Ruprecht"}, {447, 5, 618, 205}},
    {{"Nikolaus", nullptr}, {448, 448, 645, 645}},
    {{"Engel", nullptr}, {5, 448, 205, 617}},
};

constexpr float kNameScale = 3.0f;
constexpr float kNameLineHeight = 25.0f;

// The ribbon that carries an opponent's name at the bottom of its card.
Box NameRibbon(const OpponentCard& card);

Canvas RenderMenu();

// The figures, drawn into their card (local coordinates from the card's top left).
void DrawChristkind(Canvas& c, Box card);
void DrawKnechtRuprecht(Canvas& c, Box card);
void DrawNikolaus(Canvas& c, Box card);
void DrawEngel(Canvas& c, Box card);

}  // namespace pictures
