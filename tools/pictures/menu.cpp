// SPDX-License-Identifier: MIT
#include "pictures/menu.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "pictures/board.h"
#include "pictures/font.h"

namespace pictures {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kCardRadius = 14.0f;
constexpr Rgb kSkyTop = Hex(0x070F2E);
constexpr Rgb kSkyBottom = Hex(0x243A86);
constexpr Rgb kGold = Hex(0xF2C230);
constexpr Rgb kDeepGold = Hex(0xB8860B);
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kCandleLight = Hex(0xFFD56A);

// Where the texts are: no snow or stars are scattered over them.
bool NearText(Point p) {
  constexpr Box kTextAreas[] = {{220, 100, 432, 170}, {140, 212, 512, 282}};
  for (const Box& b : kTextAreas) {
    if (p.x >= b.x0 && p.x <= b.x1 && p.y >= b.y0 && p.y <= b.y1) return true;
  }
  return false;
}

void PaintSky(Canvas& c) {
  for (int y = 0; y < kPictureSize; ++y) {
    const float t = static_cast<float>(y) / (kPictureSize - 1);
    const Rgb row = Mix(kSkyTop, kSkyBottom, t * t * 0.6f + t * 0.4f);
    for (int x = 0; x < kPictureSize; ++x) c.Set(x, y, row);
  }
  Dice dice(1224u);
  for (int i = 0; i < 170; ++i) {
    const Point at{dice.Between(0, kPictureSize), dice.Between(0, 560)};
    if (NearText(at)) continue;
    FillCircle(c, at, dice.Between(0.5f, 1.3f), Hex(0xFFF8E0), dice.Between(0.4f, 1.0f));
  }
  for (int i = 0; i < 10; ++i) {
    const Point at{dice.Between(10, 640), dice.Between(10, 420)};
    const float size = dice.Between(4, 7);
    if (!NearText(at)) Sparkle(c, at, size, Hex(0xFFF4C8), 0.9f);
  }
}

void PaintSnowGround(Canvas& c) {
  std::vector<Point> hill;
  for (int x = 0; x <= kPictureSize; x += 6) {
    const float fx = static_cast<float>(x);
    hill.push_back({fx, 585 + 10 * std::sin(fx / 70) + 6 * std::sin(fx / 23 + 1)});
  }
  hill.push_back({kPictureSize, kPictureSize});
  hill.push_back({0, kPictureSize});
  FillPolygon(c, hill, LinearGradient({0, 570}, Hex(0xF4F8FF), {0, 650}, Hex(0xB9CBE8)));
}

void PaintSnowfall(Canvas& c) {
  Dice dice(2512u);
  for (int i = 0; i < 46; ++i) {
    const Point at{dice.Between(0, kPictureSize), dice.Between(0, 600)};
    const float radius = dice.Between(3, 8);
    const float turn = dice.Between(0, 1);
    const float opacity = dice.Between(0.5f, 0.9f);
    if (NearText(at)) continue;
    DrawSnowflake(c, at, radius, radius > 5.5f ? 1.4f : 1.1f, kWhite, opacity, turn);
  }
  for (int i = 0; i < 90; ++i) {
    const Point at{dice.Between(0, kPictureSize), dice.Between(0, 620)};
    const float radius = dice.Between(1, 2.4f);
    const float opacity = dice.Between(0.5f, 0.9f);
    if (!NearText(at)) FillCircle(c, at, radius, kWhite, opacity);
  }
}

void PaintMoonAndGreeting(Canvas& c) {
  const Point moon{326, 62};
  Glow(c, moon, 70, Hex(0xFFF2C0), 0.35f);
  c.Fill(
      {moon.x - 32, moon.y - 32, moon.x + 32, moon.y + 32},
      [moon](float x, float y) {
        return std::hypot(x - moon.x, y - moon.y) <= 30 &&
               std::hypot(x - moon.x - 13, y - moon.y + 8) > 25;
      },
      RadialGradient({moon.x - 10, moon.y}, 34, Hex(0xFFF8D8), Hex(0xF5D77A)));
  const char* kGreeting[] = {"Frohe", "Weihnachten"};
  for (int i = 0; i < 2; ++i) {
    DrawOutlinedText(
        c, {CentredX(kGreeting[i], 3, 325.5f), 112.0f + 28.0f * i}, kGreeting[i], 3,
        LinearGradient({0, 112.0f + 28 * i}, Hex(0xFFF0B0), {0, 133.0f + 28 * i}, Hex(0xF0B030)),
        Hex(0x5A0A10), 2.0f);
  }
}

void PaintInvitation(Canvas& c) {
  const char* kTitle = "Wähle deinen Gegner!";
  DrawOutlinedText(c, {CentredX(kTitle, 3, 325.5f), 221}, kTitle, 3,
                   LinearGradient({0, 221}, kWhite, {0, 248}, Hex(0xFFE9A0)), Hex(0x8E0B1F), 2.2f);
  const char* kHint = "Klicke auf eine Ecke";
  DrawOutlinedText(c, {CentredX(kHint, 2, 325.5f), 257}, kHint, 2, Hex(0xDDE8FF), Hex(0x0B1640),
                   1.5f);
}

// One tier of the tree: a triangle whose lower edge hangs in soft swags, with snow on them.
void PaintTreeTier(Canvas& c, float centre_x, float apex_y, float base_y, float half_width,
                   int swags) {
  std::vector<Point> tier{{centre_x, apex_y}};
  std::vector<Point> snow;
  constexpr int kSteps = 60;
  for (int s = 0; s <= kSteps; ++s) {
    const float f = static_cast<float>(s) / kSteps;
    const float x = centre_x + half_width - 2 * half_width * f;
    const float droop = 7 * std::abs(std::sin(kPi * f * static_cast<float>(swags)));
    tier.push_back({x, base_y + droop});
    snow.push_back({x, base_y + droop});
  }
  FillPolygon(c, tier,
              LinearGradient({centre_x - half_width, 0}, Hex(0x2E9A48), {centre_x + half_width, 0},
                             Hex(0x0C4A22)));
  // Snow lying along the swags.
  StrokePath(c, snow, 3.5f, kWhite, 0.9f);
}

void PaintTree(Canvas& c) {
  constexpr float kX = 325.5f;
  FillRect(c, {kX - 12, 560, kX + 12, 596},
           LinearGradient({kX - 12, 0}, Hex(0x7A4A22), {kX + 12, 0}, Hex(0x3E2210)));
  PaintTreeTier(c, kX, 400, 565, 106, 5);
  PaintTreeTier(c, kX, 345, 478, 80, 4);
  PaintTreeTier(c, kX, 300, 398, 54, 3);
  // Strings of lights.
  struct Garland {
    Point from, to;
  };
  const Garland kGarlands[] = {{{290, 365}, {356, 382}},
                               {{268, 440}, {376, 462}},
                               {{252, 520}, {402, 545}},
                               {{300, 330}, {345, 338}}};
  const Rgb kLightColours[] = {Hex(0xFFE066), Hex(0xFF6B6B), Hex(0x7FD7FF), Hex(0xFFFFFF)};
  int n = 0;
  for (const Garland& g : kGarlands) {
    std::vector<Point> wire;
    for (int i = 0; i <= 24; ++i) {
      const float t = static_cast<float>(i) / 24;
      wire.push_back({g.from.x + (g.to.x - g.from.x) * t,
                      g.from.y + (g.to.y - g.from.y) * t + 6 * std::sin(kPi * t)});
    }
    StrokePath(c, wire, 1.2f, Hex(0x0A2E14), 0.8f);
    for (size_t i = 2; i + 1 < wire.size(); i += 4) {
      const Rgb colour = kLightColours[n++ % 4];
      Glow(c, wire[i], 9, colour, 0.55f);
      FillCircle(c, wire[i], 2.3f, colour);
    }
  }
  // Baubles with a shine.
  struct Bauble {
    Point at;
    float radius;
    uint32_t colour;
  };
  const Bauble kBaubles[] = {
      {{310, 385}, 6, 0xD7263D}, {{345, 360}, 5, 0xF2C230}, {{300, 455}, 7, 0x2E6FD8},
      {{352, 448}, 7, 0xD7263D}, {{326, 420}, 6, 0xF2C230}, {{262, 548}, 8, 0xF2C230},
      {{300, 515}, 8, 0xD7263D}, {{350, 528}, 7, 0x2E6FD8}, {{392, 550}, 8, 0xD7263D},
      {{326, 490}, 7, 0xB04AD8}, {{282, 470}, 5, 0xF2C230}, {{374, 495}, 6, 0xF2C230},
  };
  for (const Bauble& b : kBaubles) {
    const Rgb colour = Hex(b.colour);
    FillCircle(
        c, b.at, b.radius,
        RadialGradient({b.at.x - b.radius * 0.35f, b.at.y - b.radius * 0.35f}, b.radius * 1.4f,
                       Mix(colour, kWhite, 0.45f), Mix(colour, Hex(0x000000), 0.35f)));
    FillCircle(c, {b.at.x - b.radius * 0.35f, b.at.y - b.radius * 0.4f}, b.radius * 0.25f, kWhite,
               0.85f);
    FillRect(c, {b.at.x - 1.5f, b.at.y - b.radius - 2, b.at.x + 1.5f, b.at.y - b.radius + 1},
             Hex(0xC9A227));
  }
  // The star on top.
  const Point top{kX, 294};
  Glow(c, top, 46, Hex(0xFFE27A), 0.55f);
  FillStar(c, top, 19, 8, 5, 0, RadialGradient(top, 19, Hex(0xFFFBE0), Hex(0xE8A317)));
}

void PaintPresent(Canvas& c, Box box, Rgb paper, Rgb ribbon) {
  FillRect(c, box,
           LinearGradient({box.x0, 0}, Mix(paper, kWhite, 0.2f), {box.x1, 0},
                          Mix(paper, Hex(0x000000), 0.25f)));
  const float mx = (box.x0 + box.x1) / 2;
  const float my = (box.y0 + box.y1) / 2;
  FillRect(c, {mx - 3, box.y0, mx + 3, box.y1}, ribbon);
  FillRect(c, {box.x0, my - 3, box.x1, my + 3}, ribbon);
  FillEllipse(c, {mx - 6, box.y0 - 3}, 7, 4, 0.4f, ribbon);
  FillEllipse(c, {mx + 6, box.y0 - 3}, 7, 4, -0.4f, ribbon);
  FillCircle(c, {mx, box.y0 - 1}, 3, Mix(ribbon, Hex(0x000000), 0.2f));
}

void PaintPresents(Canvas& c) {
  PaintPresent(c, {236, 586, 274, 620}, Hex(0xC8102E), Hex(0xF2C230));
  PaintPresent(c, {279, 598, 311, 626}, Hex(0x1F7A3A), Hex(0xE8E8F0));
  PaintPresent(c, {341, 596, 377, 626}, Hex(0x2A5BC4), Hex(0xF2C230));
  PaintPresent(c, {382, 584, 418, 620}, Hex(0xF2C230), Hex(0xC8102E));
}

void PaintCandle(Canvas& c, Point base, float height) {
  const float w = 7.5f;
  FillRect(c, {base.x - w, base.y - height, base.x + w, base.y},
           LinearGradient({base.x - w, 0}, Hex(0xE8334A), {base.x + w, 0}, Hex(0x7E0A1C)));
  FillEllipse(c, {base.x, base.y - height}, w, 2.5f, 0, Hex(0xF05A6A));
  StrokeLine(c, {base.x, base.y - height}, {base.x, base.y - height - 4}, 1.2f, Hex(0x2A1A10));
  const Point flame{base.x, base.y - height - 10};
  Glow(c, flame, 34, kCandleLight, 0.45f);
  FillEllipse(c, flame, 4.2f, 8.5f, 0, Hex(0xFFB02E));
  FillEllipse(c, {flame.x, flame.y + 2}, 2.4f, 5, 0, Hex(0xFFF6C8));
}

void PaintAdventWreath(Canvas& c) {
  const Point centre{105, 412};
  Glow(c, {centre.x, centre.y - 30}, 110, kCandleLight, 0.18f);
  c.Fill(
      {centre.x - 83, centre.y - 26, centre.x + 83, centre.y + 26},
      [centre](float x, float y) {
        const float dx = x - centre.x, dy = y - centre.y;
        const float outer = dx * dx / (82 * 82) + dy * dy / (25 * 25);
        const float inner = dx * dx / (52 * 52) + dy * dy / (11 * 11);
        return outer <= 1 && inner > 1;
      },
      Hex(0x0E4A22));
  // Fir needles all round the ring.
  Dice dice(1206u);
  for (int i = 0; i < 150; ++i) {
    const float a = dice.Between(0, 2 * kPi);
    const float r = dice.Between(0.72f, 0.98f);
    const Point p{centre.x + 82 * r * std::cos(a), centre.y + 25 * r * std::sin(a)};
    const float d = dice.Between(0, 2 * kPi);
    StrokeLine(c, p, {p.x + 7 * std::cos(d), p.y + 3 * std::sin(d)}, 1.6f,
               dice.Next() < 0.5f ? Hex(0x2F8F45) : Hex(0x1C6B32));
  }
  for (int i = 0; i < 9; ++i) {
    const float a = 0.3f + static_cast<float>(i) * 0.7f;
    const Point p{centre.x + 74 * std::cos(a), centre.y + 21 * std::sin(a)};
    FillCircle(c, p, 3.2f, Hex(0xD7263D));
    FillCircle(c, {p.x - 1, p.y - 1}, 1, kWhite, 0.8f);
  }
  // Candles: the two at the back first.
  const float kAngles[] = {4.2f, 5.2f, 2.6f, 0.55f};
  for (float a : kAngles) {
    PaintCandle(c, {centre.x + 62 * std::cos(a), centre.y + 17 * std::sin(a) + 3}, 40);
  }
}

void PaintSnowman(Canvas& c) {
  const float x = 546;
  const Paint snow = RadialGradient({x - 12, 360}, 90, kWhite, Hex(0xC6D4EC));
  FillCircle(c, {x, 404}, 33, snow);
  FillCircle(c, {x, 358}, 24, snow);
  FillCircle(c, {x, 322}, 17, snow);
  // Stick arms.
  StrokePath(c, std::vector<Point>{{x - 22, 352}, {x - 48, 334}, {x - 58, 322}}, 2.6f,
             Hex(0x5A3A1E));
  StrokeLine(c, {x - 48, 334}, {x - 60, 338}, 2, Hex(0x5A3A1E));
  StrokePath(c, std::vector<Point>{{x + 22, 352}, {x + 46, 338}, {x + 58, 324}}, 2.6f,
             Hex(0x5A3A1E));
  StrokeLine(c, {x + 46, 338}, {x + 54, 344}, 2, Hex(0x5A3A1E));
  // Hat and scarf.
  FillRect(c, {x - 19, 305, x + 19, 309}, Hex(0x1A1A22));
  FillRect(c, {x - 12, 284, x + 12, 306}, Hex(0x1A1A22));
  FillRect(c, {x - 12, 300, x + 12, 304}, Hex(0xC8102E));
  FillEllipse(c, {x, 339}, 21, 5, 0, Hex(0xC8102E));
  FillPolygon(c, std::vector<Point>{{x + 6, 340}, {x + 16, 340}, {x + 20, 366}, {x + 11, 366}},
              Hex(0xA50D25));
  // Face and buttons.
  FillCircle(c, {x - 6, 318}, 2, Hex(0x1A1A22));
  FillCircle(c, {x + 6, 318}, 2, Hex(0x1A1A22));
  FillPolygon(c, std::vector<Point>{{x, 321}, {x + 14, 325}, {x, 326}}, Hex(0xF07A1A));
  for (int i = 0; i < 5; ++i) {
    const float a = 0.5f + static_cast<float>(i) * 0.5f;
    FillCircle(c, {x - 9 + 4.5f * static_cast<float>(i), 329 + 2.5f * std::sin(a + 0.6f)}, 1.3f,
               Hex(0x1A1A22));
  }
  for (float by : {352.0f, 364.0f, 394.0f, 410.0f}) FillCircle(c, {x, by}, 2.4f, Hex(0x1A1A22));
}

void PaintCard(Canvas& c, const OpponentCard& card, void (*figure)(Canvas&, Box)) {
  const Box& b = card.card;
  // A soft shadow below the card.
  FillRoundRect(c, {b.x0 + 2, b.y0 + 3, b.x1, b.y1}, kCardRadius, Hex(0x000000), 0.35f);
  c.SetClip(b, kCardRadius);
  figure(c, b);
  const Box ribbon = NameRibbon(card);
  FillRoundRect(c, ribbon, 7,
                LinearGradient({0, ribbon.y0}, Hex(0xD01C36), {0, ribbon.y1}, Hex(0x86091C)));
  StrokeRoundRect(c, {ribbon.x0 + 2, ribbon.y0 + 2, ribbon.x1 - 2, ribbon.y1 - 2}, 5, 1.2f, kGold,
                  0.9f);
  for (int i = 0; i < 2; ++i) {
    const char* line = card.name_lines[i];
    if (line == nullptr) continue;
    const float cx = (ribbon.x0 + ribbon.x1) / 2;
    DrawOutlinedText(c, {CentredX(line, kNameScale, cx), ribbon.y0 + 5 + kNameLineHeight * i}, line,
                     kNameScale, Hex(0xFFF6DC), Hex(0x4A0510), 1.2f);
  }
  c.ClearClip();
  StrokeRoundRect(c, b, kCardRadius, 3.5f,
                  LinearGradient({b.x0, b.y0}, Hex(0xFFE58A), {b.x1, b.y1}, kDeepGold));
}

}  // namespace

Box NameRibbon(const OpponentCard& card) {
  const float lines = card.name_lines[1] ? 2.0f : 1.0f;
  const float height = lines * kNameLineHeight + 8;
  const Box& b = card.card;
  return {b.x0 + 8, b.y1 - 8 - height, b.x1 - 8, b.y1 - 8};
}

Canvas RenderMenu() {
  Canvas c(kPictureSize, kPictureSize, kSkyTop);
  PaintSky(c);
  PaintSnowGround(c);
  PaintSnowfall(c);
  PaintMoonAndGreeting(c);
  PaintAdventWreath(c);
  PaintSnowman(c);
  PaintTree(c);
  PaintPresents(c);
  PaintInvitation(c);
  void (*const kFigures[])(Canvas&, Box) = {DrawChristkind, DrawKnechtRuprecht, DrawNikolaus,
                                            DrawEngel};
  for (int i = 0; i < 4; ++i) PaintCard(c, kOpponentCards[i], kFigures[i]);
  return c;
}

}  // namespace pictures
