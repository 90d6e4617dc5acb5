// SPDX-License-Identifier: MIT
// A tiny software rasteriser for the game's two pictures: an RGB canvas and anti-aliased filled
// shapes (coverage from 4 x 4 samples per pixel), strokes, gradients and soft glows.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace pictures {

// A colour with components 0..1.
struct Rgb {
  float r = 0, g = 0, b = 0;
};

constexpr Rgb Hex(uint32_t rgb) {
  return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
          static_cast<float>((rgb >> 8) & 0xFF) / 255.0f, static_cast<float>(rgb & 0xFF) / 255.0f};
}

Rgb Mix(Rgb a, Rgb b, float t);
// Luminance 0..255 of an 8-bit-per-channel colour (Rec. 709 weights).
float Luminance8(uint8_t r, uint8_t g, uint8_t b);

struct Point {
  float x = 0, y = 0;
};

// What colour a shape has at a point: a plain colour or a gradient.
class Paint {
 public:
  Paint(Rgb colour) : fn_([colour](float, float) { return colour; }) {}  // NOLINT: implicit
  explicit Paint(std::function<Rgb(float, float)> fn) : fn_(std::move(fn)) {}
  Rgb At(float x, float y) const { return fn_(x, y); }

 private:
  std::function<Rgb(float, float)> fn_;
};

Paint LinearGradient(Point from, Rgb from_colour, Point to, Rgb to_colour);
Paint RadialGradient(Point centre, float radius, Rgb inner, Rgb outer);

// Axis-aligned bounds in canvas coordinates; pixel (x, y) covers [x, x + 1) x [y, y + 1).
struct Box {
  float x0, y0, x1, y1;
};

using InsideFn = std::function<bool(float x, float y)>;

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Rgb colour) { pixels_[Index(x, y)] = colour; }
  // Blends colour over pixel (x, y) with weight alpha; pixels off the canvas are ignored.
  void Blend(int x, int y, Rgb colour, float alpha);
  // Paints every pixel of box that inside() covers, weighted by its covered fraction.
  void Fill(const Box& box, const InsideFn& inside, const Paint& paint, float opacity = 1.0f);
  // Limits all drawing to a rounded rectangle until ClearClip (judged at pixel centres).
  void SetClip(Box box, float radius);
  void ClearClip();
  // The canvas as 8-bit channels, top row first: r, g, b per pixel.
  std::vector<uint8_t> ToRgb8() const;

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_;
  int height_;
  std::vector<Rgb> pixels_;
  bool clipped_ = false;
  Box clip_{};
  float clip_radius_ = 0;
};

void FillRect(Canvas& c, Box box, const Paint& paint, float opacity = 1.0f);
void FillRoundRect(Canvas& c, Box box, float radius, const Paint& paint, float opacity = 1.0f);
void StrokeRoundRect(Canvas& c, Box box, float radius, float width, const Paint& paint,
                     float opacity = 1.0f);
void FillCircle(Canvas& c, Point centre, float radius, const Paint& paint, float opacity = 1.0f);
// An ellipse turned by angle (radians, clockwise on screen).
void FillEllipse(Canvas& c, Point centre, float rx, float ry, float angle, const Paint& paint,
                 float opacity = 1.0f);
// Even-odd filled polygon.
void FillPolygon(Canvas& c, std::span<const Point> points, const Paint& paint,
                 float opacity = 1.0f);
// A line of the given width with round ends.
void StrokeLine(Canvas& c, Point a, Point b, float width, const Paint& paint, float opacity = 1.0f);
// Connected line segments with round joins.
void StrokePath(Canvas& c, std::span<const Point> points, float width, const Paint& paint,
                float opacity = 1.0f);
// An arc of a circle from angle a0 to a1 (radians, 0 = right, clockwise on screen, a0 < a1).
void StrokeArc(Canvas& c, Point centre, float radius, float width, float a0, float a1,
               const Paint& paint, float opacity = 1.0f);
void StrokeEllipse(Canvas& c, Point centre, float rx, float ry, float width, const Paint& paint,
                   float opacity = 1.0f);
// A star with the given number of points, the first pointing up when rotation is 0.
void FillStar(Canvas& c, Point centre, float outer, float inner, int points, float rotation,
              const Paint& paint, float opacity = 1.0f);
// A six-armed snowflake with side twigs on each arm.
void DrawSnowflake(Canvas& c, Point centre, float radius, float width, Rgb colour,
                   float opacity = 1.0f, float rotation = 0.0f);
// A soft round light: strength at the centre falling to nothing at radius.
void Glow(Canvas& c, Point centre, float radius, Rgb colour, float strength);
// A four-pointed twinkle with a glow.
void Sparkle(Canvas& c, Point centre, float size, Rgb colour, float opacity = 1.0f);

// Small deterministic random numbers, the same on every compiler.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed ? seed : 1u) {}
  // A number in [0, 1).
  float Next();
  float Between(float lo, float hi) { return lo + (hi - lo) * Next(); }

 private:
  uint32_t state_;
};

}  // namespace pictures
