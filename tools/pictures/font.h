// SPDX-License-Identifier: MIT
// The pictures' own bitmap font: 5 x 9 glyphs (7 rows above the base line, 2 below for
// descenders) for the German letters, set proportionally and drawn scaled with smoothed diagonals.
#pragma once

#include <string>
#include <string_view>

#include "pictures/canvas.h"

namespace pictures {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 9;
constexpr int kCapHeight = 7;

struct Glyph {
  char32_t code;
  const char* rows[kGlyphHeight];  // '#' marks a pixel, '.' none
};

// The glyph of a character, or nullptr when the font has none.
const Glyph* FindGlyph(char32_t code);

// Decodes UTF-8 text; throws std::runtime_error on malformed text or a character the font lacks.
std::u32string DecodeText(std::string_view utf8);

// Width in pixels of text drawn at the given scale (no spacing after the last glyph).
float TextWidth(std::string_view utf8, float scale);

// Draws text with its top left corner (top of the capitals) at origin.
void DrawText(Canvas& c, Point origin, std::string_view utf8, float scale, const Paint& paint,
              float opacity = 1.0f);
// Draws text with an outline of the given width around every glyph, then the text over it.
void DrawOutlinedText(Canvas& c, Point origin, std::string_view utf8, float scale,
                      const Paint& paint, Rgb outline, float outline_width);
// Left x that centres text of this scale on centre_x.
float CentredX(std::string_view utf8, float scale, float centre_x);

}  // namespace pictures
