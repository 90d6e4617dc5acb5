// SPDX-License-Identifier: MIT
#include "pictures/board.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictures {
namespace {

constexpr Rgb kSnowTop = Hex(0xFAFCFF);
constexpr Rgb kSnowBottom = Hex(0xEDF3FA);
constexpr Rgb kFrost = Hex(0xBFD3EA);
constexpr Rgb kCaneRed = Hex(0xD3132E);
constexpr Rgb kCaneWhite = Hex(0xFFF9F2);
constexpr Rgb kCaneEdge = Hex(0x6E0712);
constexpr float kStripePeriod = 14.0f;

// Distance in pixels from the pixel centre to the nearest grid bar (0 inside one).
float DistanceToGrid(int v) {
  float best = 1e9f;
  for (const GridGap& gap : kGridGaps) {
    if (v >= gap.first && v <= gap.last) return 0;
    best = std::min(best, static_cast<float>(v < gap.first ? gap.first - v : v - gap.last));
  }
  return best;
}

void PaintCells(Canvas& c) {
  for (int y = 0; y < kPictureSize; ++y) {
    const Rgb row = Mix(kSnowTop, kSnowBottom, static_cast<float>(y) / (kPictureSize - 1));
    for (int x = 0; x < kPictureSize; ++x) {
      Rgb p = row;
      // A soft shadow along the bars gives the cells a little depth.
      const float d = std::min(DistanceToGrid(x), DistanceToGrid(y));
      if (d > 0 && d < 7) p = Mix(p, kFrost, 0.35f * (1 - d / 7) * (1 - d / 7));
      c.Set(x, y, p);
    }
  }
}

// Faint snowflakes in the cells; the bars are painted over them afterwards.
void PaintFrostTexture(Canvas& c) {
  Dice dice(20261224u);
  for (int i = 0; i < 70; ++i) {
    const Point at{dice.Between(0, kPictureSize), dice.Between(0, kPictureSize)};
    const float radius = dice.Between(5, 15);
    DrawSnowflake(c, at, radius, radius > 10 ? 1.6f : 1.2f, kFrost, dice.Between(0.18f, 0.32f),
                  dice.Between(0, 1));
  }
  for (int i = 0; i < 160; ++i) {
    FillCircle(c, {dice.Between(0, kPictureSize), dice.Between(0, kPictureSize)},
               dice.Between(0.8f, 1.8f), kFrost, 0.35f);
  }
  // One large, very faint snow star in the middle of each cell.
  for (float cy : {104.5f, 325.5f, 546.5f}) {
    for (float cx : {104.5f, 325.5f, 546.5f}) {
      DrawSnowflake(c, {cx, cy}, 70, 5, kFrost, 0.13f, std::numbers::pi_v<float> / 6);
    }
  }
}

// The colour of a candy-cane bar at position along (down the bar) and across (0 at its first
// pixel column), sampled within the pixel for smooth stripe edges.
Rgb CaneColour(int along, int across, int width) {
  if (across == 0 || across == width - 1) return kCaneEdge;
  int red = 0;
  constexpr int kSub = 4;
  for (int j = 0; j < kSub; ++j) {
    for (int i = 0; i < kSub; ++i) {
      const float s = static_cast<float>(along) + (static_cast<float>(j) + 0.5f) / kSub;
      const float t = static_cast<float>(across) + (static_cast<float>(i) + 0.5f) / kSub;
      const float phase = std::fmod(s + t * 0.9f, kStripePeriod);
      if (phase < kStripePeriod * 0.5f) ++red;
    }
  }
  Rgb p = Mix(kCaneWhite, kCaneRed, static_cast<float>(red) / (kSub * kSub));
  // Round shading: darker towards the edges, a highlight a little left of the middle.
  const float u = (static_cast<float>(across) + 0.5f) / static_cast<float>(width);
  const float shade = 0.72f + 0.28f * std::sin(std::numbers::pi_v<float> * u);
  p = {p.r * shade, p.g * shade, p.b * shade};
  const float highlight = std::max(0.0f, 1 - std::abs(u - 0.36f) / 0.12f);
  return Mix(p, Hex(0xFFFFFF), 0.45f * highlight);
}

void PaintBars(Canvas& c) {
  for (const GridGap& gap : kGridGaps) {
    const int width = gap.last - gap.first + 1;
    for (int along = 0; along < kPictureSize; ++along) {
      for (int across = 0; across < width; ++across) {
        c.Set(gap.first + across, along, CaneColour(along, across, width));
      }
    }
  }
  for (const GridGap& gap : kGridGaps) {
    const int width = gap.last - gap.first + 1;
    for (int along = 0; along < kPictureSize; ++along) {
      for (int across = 0; across < width; ++across) {
        c.Set(along, gap.first + across, CaneColour(along + 7, across, width));
      }
    }
  }
}

// A little gold bauble where two bars cross, kept inside the crossing square.
void PaintCrossings(Canvas& c) {
  for (const GridGap& row : kGridGaps) {
    for (const GridGap& column : kGridGaps) {
      const Box square{static_cast<float>(column.first), static_cast<float>(row.first),
                       static_cast<float>(column.last + 1), static_cast<float>(row.last + 1)};
      const Point centre{(square.x0 + square.x1) / 2, (square.y0 + square.y1) / 2};
      const float radius = (square.x1 - square.x0) / 2;
      FillRect(c, square, kCaneEdge);
      c.Fill(
          square,
          [=](float x, float y) { return std::hypot(x - centre.x, y - centre.y) <= radius - 0.5f; },
          RadialGradient({centre.x - 2, centre.y - 2}, radius + 1, Hex(0xFFF1A8), Hex(0xB8860B)));
      FillCircle(c, {centre.x - 1.8f, centre.y - 1.8f}, 1.4f, Hex(0xFFFFFF), 0.9f);
    }
  }
}

}  // namespace

bool InGridGap(int v) {
  return std::any_of(std::begin(kGridGaps), std::end(kGridGaps),
                     [v](const GridGap& gap) { return v >= gap.first && v <= gap.last; });
}

Canvas RenderBoard() {
  Canvas c(kPictureSize, kPictureSize, kSnowTop);
  PaintCells(c);
  PaintFrostTexture(c);
  PaintBars(c);
  PaintCrossings(c);
  return c;
}

}  // namespace pictures
