// SPDX-License-Identifier: MIT
// One line of text in the built-in 8x8 font: only the glyphs' set bits are drawn, so the
// background shows through, and every character is cut off pixel by pixel at the clip edges.
#include <algorithm>
#include <cstdint>
#include <mutex>

#include "draw/font.h"
#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr int64_t kGlyphSize = 8;

}  // namespace

int32_t DrawText(float x, float y, int32_t flags, std::optional<std::string_view> text,
                 uint32_t colour) {
  if (!text.has_value()) return 1;
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return 1;
  if (text->empty()) return 0;
  DrawingState& state = CurrentDrawingState(*screen);
  const uint32_t use_colour = ChooseColour(state, colour, flags);
  const int64_t px = RoundCoordinate(x);
  const int64_t py = RoundCoordinate(y);
  const ClipRect& clip = state.clip;

  const int64_t first_row = std::max<int64_t>(py, clip.top);
  const int64_t last_row = std::min<int64_t>(py + kGlyphSize - 1, clip.bottom);
  if (first_row > last_row) return 0;  // the whole line lies above or below

  // Characters wholly left or right of the clip rectangle are skipped.
  const auto count = static_cast<int64_t>(text->size());
  const int64_t first_char = std::max<int64_t>(0, (clip.left - px) / kGlyphSize);
  const int64_t last_char = std::min<int64_t>(count - 1, (clip.right - px) / kGlyphSize);
  if (clip.right < px || first_char > last_char) return 0;

  for (int64_t i = first_char; i <= last_char; ++i) {
    const uint8_t* glyph = kFont8x8[static_cast<uint8_t>((*text)[i])];
    const int64_t left = px + kGlyphSize * i;
    for (int64_t row = first_row; row <= last_row; ++row) {
      const uint8_t bits = glyph[row - py];
      for (int64_t k = 0; k < kGlyphSize; ++k) {
        const int64_t column = left + k;
        if (((bits >> k) & 1u) && column >= clip.left && column <= clip.right) {
          PutPixel(*screen, static_cast<int32_t>(column), static_cast<int32_t>(row), use_colour);
        }
      }
    }
  }
  MarkRows(*screen, static_cast<int32_t>(first_row), static_cast<int32_t>(last_row));
  return 0;
}

}  // namespace layer
