// SPDX-License-Identifier: MIT
#include "pictures/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictures {
namespace {

constexpr int kSamples = 4;  // per axis, so 16 samples per pixel
constexpr float kPi = std::numbers::pi_v<float>;

struct Segment {
  Point a, b;
};

float DistanceToSegment(Point p, Point a, Point b) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  const float ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

Box BoundsOf(std::span<const Point> points, float margin) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    box.x0 = std::min(box.x0, p.x);
    box.y0 = std::min(box.y0, p.y);
    box.x1 = std::max(box.x1, p.x);
    box.y1 = std::max(box.y1, p.y);
  }
  return {box.x0 - margin, box.y0 - margin, box.x1 + margin, box.y1 + margin};
}

// The union of round-ended strokes along the segments, filled in one pass so that
// overlapping strokes do not darken where they meet.
void FillSegments(Canvas& c, const std::vector<Segment>& segments, float width, const Paint& paint,
                  float opacity) {
  if (segments.empty()) return;
  std::vector<Point> ends;
  for (const Segment& s : segments) {
    ends.push_back(s.a);
    ends.push_back(s.b);
  }
  const float half = width / 2;
  std::vector<Box> reach;  // each segment's bounds, to skip far segments cheaply
  for (const Segment& s : segments) {
    reach.push_back({std::min(s.a.x, s.b.x) - half, std::min(s.a.y, s.b.y) - half,
                     std::max(s.a.x, s.b.x) + half, std::max(s.a.y, s.b.y) + half});
  }
  c.Fill(
      BoundsOf(ends, half + 1),
      [&](float x, float y) {
        for (size_t i = 0; i < segments.size(); ++i) {
          const Box& r = reach[i];
          if (x < r.x0 || x > r.x1 || y < r.y0 || y > r.y1) continue;
          if (DistanceToSegment({x, y}, segments[i].a, segments[i].b) <= half) return true;
        }
        return false;
      },
      paint, opacity);
}

bool InRoundRect(float x, float y, Box b, float r) {
  if (x < b.x0 || x >= b.x1 || y < b.y0 || y >= b.y1) return false;
  const float cx = std::clamp(x, b.x0 + r, b.x1 - r);
  const float cy = std::clamp(y, b.y0 + r, b.y1 - r);
  const float dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float Luminance8(uint8_t r, uint8_t g, uint8_t b) {
  return 0.2126f * static_cast<float>(r) + 0.7152f * static_cast<float>(g) +
         0.0722f * static_cast<float>(b);
}

Paint LinearGradient(Point from, Rgb from_colour, Point to, Rgb to_colour) {
  const float dx = to.x - from.x, dy = to.y - from.y;
  const float len2 = std::max(dx * dx + dy * dy, 1e-6f);
  return Paint([=](float x, float y) {
    const float t = std::clamp(((x - from.x) * dx + (y - from.y) * dy) / len2, 0.0f, 1.0f);
    return Mix(from_colour, to_colour, t);
  });
}

Paint RadialGradient(Point centre, float radius, Rgb inner, Rgb outer) {
  return Paint([=](float x, float y) {
    const float d = std::hypot(x - centre.x, y - centre.y) / radius;
    return Mix(inner, outer, std::clamp(d, 0.0f, 1.0f));
  });
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::Blend(int x, int y, Rgb colour, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  if (clipped_ && !InRoundRect(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, clip_,
                               clip_radius_)) {
    return;
  }
  Rgb& p = pixels_[Index(x, y)];
  p = Mix(p, colour, std::min(alpha, 1.0f));
}

void Canvas::SetClip(Box box, float radius) {
  clipped_ = true;
  clip_ = box;
  clip_radius_ = radius;
}

void Canvas::ClearClip() {
  clipped_ = false;
}

void Canvas::Fill(const Box& box, const InsideFn& inside, const Paint& paint, float opacity) {
  const int x0 = std::max(0, static_cast<int>(std::floor(box.x0)));
  const int y0 = std::max(0, static_cast<int>(std::floor(box.y0)));
  const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(box.x1)));
  const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(box.y1)));
  constexpr float kStep = 1.0f / kSamples;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      int covered = 0;
      for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
          if (inside(static_cast<float>(x) + (static_cast<float>(i) + 0.5f) * kStep,
                     static_cast<float>(y) + (static_cast<float>(j) + 0.5f) * kStep)) {
            ++covered;
          }
        }
      }
      if (covered == 0) continue;
      const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
      Blend(x, y, paint.At(cx, cy), opacity * static_cast<float>(covered) / (kSamples * kSamples));
    }
  }
}

std::vector<uint8_t> Canvas::ToRgb8() const {
  std::vector<uint8_t> out;
  out.reserve(pixels_.size() * 3);
  auto to8 = [](float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
  };
  for (const Rgb& p : pixels_) {
    out.push_back(to8(p.r));
    out.push_back(to8(p.g));
    out.push_back(to8(p.b));
  }
  return out;
}

void FillRect(Canvas& c, Box box, const Paint& paint, float opacity) {
  c.Fill(
      box,
      [box](float x, float y) { return x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1; },
      paint, opacity);
}

void FillRoundRect(Canvas& c, Box box, float radius, const Paint& paint, float opacity) {
  c.Fill(
      box, [box, radius](float x, float y) { return InRoundRect(x, y, box, radius); }, paint,
      opacity);
}

void StrokeRoundRect(Canvas& c, Box box, float radius, float width, const Paint& paint,
                     float opacity) {
  const Box inner{box.x0 + width, box.y0 + width, box.x1 - width, box.y1 - width};
  const float inner_radius = std::max(radius - width, 0.0f);
  c.Fill(
      box,
      [=](float x, float y) {
        return InRoundRect(x, y, box, radius) && !InRoundRect(x, y, inner, inner_radius);
      },
      paint, opacity);
}

void FillCircle(Canvas& c, Point centre, float radius, const Paint& paint, float opacity) {
  FillEllipse(c, centre, radius, radius, 0.0f, paint, opacity);
}

void FillEllipse(Canvas& c, Point centre, float rx, float ry, float angle, const Paint& paint,
                 float opacity) {
  const float cs = std::cos(angle), sn = std::sin(angle);
  const float reach = std::max(rx, ry) + 1;
  c.Fill(
      {centre.x - reach, centre.y - reach, centre.x + reach, centre.y + reach},
      [=](float x, float y) {
        const float dx = x - centre.x, dy = y - centre.y;
        const float u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
        return u * u + v * v <= 1.0f;
      },
      paint, opacity);
}

void FillPolygon(Canvas& c, std::span<const Point> points, const Paint& paint, float opacity) {
  if (points.size() < 3) return;
  std::vector<Point> poly(points.begin(), points.end());
  c.Fill(
      BoundsOf(poly, 1),
      [&poly](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
          const Point& a = poly[i];
          const Point& b = poly[j];
          if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
        }
        return in;
      },
      paint, opacity);
}

void StrokeLine(Canvas& c, Point a, Point b, float width, const Paint& paint, float opacity) {
  FillSegments(c, {{a, b}}, width, paint, opacity);
}

void StrokePath(Canvas& c, std::span<const Point> points, float width, const Paint& paint,
                float opacity) {
  std::vector<Segment> segments;
  for (size_t i = 1; i < points.size(); ++i) segments.push_back({points[i - 1], points[i]});
  FillSegments(c, segments, width, paint, opacity);
}

void StrokeArc(Canvas& c, Point centre, float radius, float width, float a0, float a1,
               const Paint& paint, float opacity) {
  std::vector<Point> points;
  const int steps = std::max(8, static_cast<int>((a1 - a0) * radius / 3));
  for (int i = 0; i <= steps; ++i) {
    const float a = a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps);
    points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  StrokePath(c, points, width, paint, opacity);
}

void StrokeEllipse(Canvas& c, Point centre, float rx, float ry, float width, const Paint& paint,
                   float opacity) {
  std::vector<Point> points;
  constexpr int kSteps = 72;
  for (int i = 0; i <= kSteps; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / kSteps;
    points.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
  }
  StrokePath(c, points, width, paint, opacity);
}

void FillStar(Canvas& c, Point centre, float outer, float inner, int points, float rotation,
              const Paint& paint, float opacity) {
  std::vector<Point> poly;
  for (int i = 0; i < 2 * points; ++i) {
    const float a = rotation - kPi / 2 + kPi * static_cast<float>(i) / static_cast<float>(points);
    const float r = (i % 2 == 0) ? outer : inner;
    poly.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
  }
  FillPolygon(c, poly, paint, opacity);
}

void DrawSnowflake(Canvas& c, Point centre, float radius, float width, Rgb colour, float opacity,
                   float rotation) {
  std::vector<Segment> segments;
  for (int arm = 0; arm < 6; ++arm) {
    const float a = rotation + kPi / 3 * static_cast<float>(arm);
    const Point dir{std::cos(a), std::sin(a)};
    const Point tip{centre.x + dir.x * radius, centre.y + dir.y * radius};
    segments.push_back({centre, tip});
    const Point fork{centre.x + dir.x * radius * 0.55f, centre.y + dir.y * radius * 0.55f};
    for (float side : {-1.0f, 1.0f}) {
      const float b = a + side * kPi / 4;
      segments.push_back(
          {fork, {fork.x + std::cos(b) * radius * 0.32f, fork.y + std::sin(b) * radius * 0.32f}});
    }
  }
  FillSegments(c, segments, width, colour, opacity);
}

void Glow(Canvas& c, Point centre, float radius, Rgb colour, float strength) {
  const int x0 = static_cast<int>(std::floor(centre.x - radius));
  const int x1 = static_cast<int>(std::ceil(centre.x + radius));
  const int y0 = static_cast<int>(std::floor(centre.y - radius));
  const int y1 = static_cast<int>(std::ceil(centre.y + radius));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float d = std::hypot(static_cast<float>(x) + 0.5f - centre.x,
                                 static_cast<float>(y) + 0.5f - centre.y) /
                      radius;
      if (d >= 1) continue;
      c.Blend(x, y, colour, strength * (1 - d) * (1 - d));
    }
  }
}

void Sparkle(Canvas& c, Point centre, float size, Rgb colour, float opacity) {
  Glow(c, centre, size * 1.2f, colour, 0.35f * opacity);
  const float w = size * 0.18f;
  const Point vertical[] = {{centre.x, centre.y - size},
                            {centre.x + w, centre.y},
                            {centre.x, centre.y + size},
                            {centre.x - w, centre.y}};
  const Point horizontal[] = {{centre.x - size, centre.y},
                              {centre.x, centre.y - w},
                              {centre.x + size, centre.y},
                              {centre.x, centre.y + w}};
  FillPolygon(c, vertical, colour, opacity);
  FillPolygon(c, horizontal, colour, opacity);
}

float Dice::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_ >> 8) / 16777216.0f;
}

}  // namespace pictures
