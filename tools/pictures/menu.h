// The opponent menu picture: a Christmas night with the four opponents, each on a card inside
// the corner that chooses it, and the invitation to choose in the middle.
#pragma once

#include "pictures/canvas.h"

namespace pictures {

struct OpponentCard {
  const char* name_lines[2];  // the second is nullptr for a one-line name
  Box click;                  // the corner that chooses the opponent, pixel edges
  Box card;                   // the card drawn for it
};

// Christkind, Knecht Ruprecht, Nikolaus, Engel; a click chooses when inside x 0..209 means
// pixel edges 0 and 210.
constexpr OpponentCard kOpponentCards[] = {
    {{"Christkind", nullptr}, {0, 0, 210, 210}, {5, 5, 205, 205}},
    {{"Knecht", "Ruprecht"}, {443, 0, 622, 210}, {447, 5, 618, 205}},
    {{"Nikolaus", nullptr}, {443, 443, 650, 650}, {448, 448, 645, 645}},
    {{"Engel", nullptr}, {0, 443, 210, 622}, {5, 448, 205, 617}},
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
