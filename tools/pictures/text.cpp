// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "pictures/font.h"

namespace pictures {
namespace {

// Where each font pixel column of a text line comes from: glyphs are set proportionally, each
// as wide as its widest row plus one empty column, a space three columns wide.
class TextLine {
 public:
  explicit TextLine(std::string_view utf8) {
    for (char32_t code : DecodeText(utf8)) {
      const Glyph* glyph = FindGlyph(code);
      int first = kGlyphWidth, last = -1;
      for (const char* row : glyph->rows) {
        for (int x = 0; x < kGlyphWidth; ++x) {
          if (row[x] == '#') {
            first = std::min(first, x);
            last = std::max(last, x);
          }
        }
      }
      if (last < 0) {
        columns_.insert(columns_.end(), kSpaceColumns, {nullptr, 0});
        continue;
      }
      for (int x = first; x <= last; ++x) columns_.push_back({glyph, x});
      columns_.push_back({nullptr, 0});
    }
  }

  // Width in font pixels, without the empty column after the last glyph.
  int Columns() const { return columns_.empty() ? 0 : static_cast<int>(columns_.size()) - 1; }

  bool On(int column, int row) const {
    if (column < 0 || row < 0 || row >= kGlyphHeight) return false;
    if (static_cast<size_t>(column) >= columns_.size()) return false;
    const Column& c = columns_[static_cast<size_t>(column)];
    return c.glyph != nullptr && c.glyph->rows[row][c.x] == '#';
  }

 private:
  static constexpr int kSpaceColumns = 3;
  struct Column {
    const Glyph* glyph;
    int x;
  };
  std::vector<Column> columns_;
};

// The pixel test that draws one text line at a position and scale.
class TextShape {
 public:
  TextShape(Point origin, std::string_view utf8, float scale)
      : origin_(origin), scale_(scale), line_(utf8) {}

  Box Bounds(float margin) const {
    return {origin_.x - margin, origin_.y - margin,
            origin_.x + static_cast<float>(line_.Columns() + 1) * scale_ + margin,
            origin_.y + kGlyphHeight * scale_ + margin};
  }

  // Font pixels are squares; an empty square between two set neighbours that meet at one of
  // its corners gets that corner's triangle, so diagonal strokes come out smooth, and a set
  // square whose corner sticks out alone is trimmed a little.
  bool Inside(float x, float y) const {
    const float u = (x - origin_.x) / scale_, v = (y - origin_.y) / scale_;
    if (u < 0 || v < 0) return false;
    const int column = static_cast<int>(std::floor(u));
    const int row = static_cast<int>(std::floor(v));
    const float fu = u - static_cast<float>(column), fv = v - static_cast<float>(row);
    const bool left = On(column - 1, row), right = On(column + 1, row);
    const bool up = On(column, row - 1), down = On(column, row + 1);
    if (On(column, row)) {
      constexpr float kTrim = 0.3f;
      if (!left && !up && !On(column - 1, row - 1) && fu + fv < kTrim) return false;
      if (!right && !up && !On(column + 1, row - 1) && (1 - fu) + fv < kTrim) return false;
      if (!left && !down && !On(column - 1, row + 1) && fu + (1 - fv) < kTrim) return false;
      if (!right && !down && !On(column + 1, row + 1) && (1 - fu) + (1 - fv) < kTrim) return false;
      return true;
    }
    constexpr float kFill = 0.5f;
    if (left && up && fu + fv < kFill) return true;
    if (right && up && (1 - fu) + fv < kFill) return true;
    if (left && down && fu + (1 - fv) < kFill) return true;
    if (right && down && (1 - fu) + (1 - fv) < kFill) return true;
    return false;
  }

 private:
  bool On(int column, int row) const { return line_.On(column, row); }

  Point origin_;
  float scale_;
  TextLine line_;
};

}  // namespace

std::u32string DecodeText(std::string_view utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    char32_t code = 0;
    size_t extra = 0;
    if (lead < 0x80) {
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      code = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      code = lead & 0x0F;
      extra = 2;
    } else {
      throw std::runtime_error("unsupported UTF-8 lead byte in picture text");
    }
    if (i + extra >= utf8.size()) throw std::runtime_error("truncated UTF-8 in picture text");
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) throw std::runtime_error("malformed UTF-8 in picture text");
      code = (code << 6) | (next & 0x3F);
    }
    if (FindGlyph(code) == nullptr) {
      throw std::runtime_error("the picture font has no glyph for U+" +
                               std::to_string(static_cast<unsigned>(code)));
    }
    out.push_back(code);
    i += extra + 1;
  }
  return out;
}

float TextWidth(std::string_view utf8, float scale) {
  return static_cast<float>(TextLine(utf8).Columns()) * scale;
}

float CentredX(std::string_view utf8, float scale, float centre_x) {
  return centre_x - TextWidth(utf8, scale) / 2;
}

void DrawText(Canvas& c, Point origin, std::string_view utf8, float scale, const Paint& paint,
              float opacity) {
  const TextShape shape(origin, utf8, scale);
  c.Fill(
      shape.Bounds(1), [&shape](float x, float y) { return shape.Inside(x, y); }, paint, opacity);
}

void DrawOutlinedText(Canvas& c, Point origin, std::string_view utf8, float scale,
                      const Paint& paint, Rgb outline, float outline_width) {
  const TextShape shape(origin, utf8, scale);
  constexpr int kDirections = 12;
  std::vector<Point> offsets{{0, 0}};
  for (int i = 0; i < kDirections; ++i) {
    const float a = 2 * 3.14159265f * static_cast<float>(i) / kDirections;
    offsets.push_back({outline_width * std::cos(a), outline_width * std::sin(a)});
  }
  c.Fill(
      shape.Bounds(outline_width + 1),
      [&](float x, float y) {
        for (const Point& o : offsets) {
          if (shape.Inside(x + o.x, y + o.y)) return true;
        }
        return false;
      },
      outline);
  c.Fill(
      shape.Bounds(1), [&shape](float x, float y) { return shape.Inside(x, y); }, paint);
}

}  // namespace pictures
