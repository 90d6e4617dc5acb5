// SPDX-License-Identifier: MIT
// The four opponents, each drawn on its card in the card's own coordinates (0, 0 at the card's
// top left corner).
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "pictures/menu.h"

namespace pictures {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kGold = Hex(0xF2C230);
constexpr Rgb kDarkGold = Hex(0xB8860B);
constexpr Rgb kEye = Hex(0x2A1C14);

// Maps card coordinates to picture coordinates.
class Frame {
 public:
  explicit Frame(Box card)
      : ox_(card.x0), oy_(card.y0), w_(card.x1 - card.x0), h_(card.y1 - card.y0) {}
  Point operator()(float x, float y) const { return {ox_ + x, oy_ + y}; }
  std::vector<Point> operator()(std::initializer_list<Point> local) const {
    std::vector<Point> out;
    for (const Point& p : local) out.push_back({ox_ + p.x, oy_ + p.y});
    return out;
  }
  Box Whole() const { return {ox_, oy_, ox_ + w_, oy_ + h_}; }
  Box Rect(float x0, float y0, float x1, float y1) const {
    return {ox_ + x0, oy_ + y0, ox_ + x1, oy_ + y1};
  }
  float width() const { return w_; }

 private:
  float ox_, oy_, w_, h_;
};

Paint Vertical(const Frame& f, float y0, Rgb top, float y1, Rgb bottom) {
  return LinearGradient(f(0, y0), top, f(0, y1), bottom);
}

Paint Horizontal(const Frame& f, float x0, Rgb left, float x1, Rgb right) {
  return LinearGradient(f(x0, 0), left, f(x1, 0), right);
}

// Shading that is lightest on a vertical middle line and darker towards both sides.
Paint Rounded(const Frame& f, float centre_x, float half_width, Rgb middle, Rgb side) {
  const Point centre = f(centre_x, 0);
  return Paint([=](float x, float) {
    const float t = std::min(std::abs(x - centre.x) / half_width, 1.0f);
    return Mix(middle, side, t * t);
  });
}

void Eyes(Canvas& c, const Frame& f, Point left, Point right, float radius) {
  for (const Point& e : {left, right}) {
    FillCircle(c, f(e.x, e.y), radius, kEye);
    FillCircle(c, f(e.x - radius * 0.35f, e.y - radius * 0.35f), radius * 0.35f, kWhite, 0.9f);
  }
}

void Cheeks(Canvas& c, const Frame& f, Point left, Point right, float radius) {
  for (const Point& p : {left, right}) FillCircle(c, f(p.x, p.y), radius, Hex(0xF28A8A), 0.4f);
}

// Radiating light behind a figure: pale wedges alternating with the background.
void Rays(Canvas& c, const Frame& f, Point centre, int count, float length, Rgb colour,
          float opacity) {
  const Point o = f(centre.x, centre.y);
  for (int i = 0; i < count; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(count);
    const float half = kPi / static_cast<float>(count) * 0.5f;
    const std::vector<Point> wedge{
        o,
        {o.x + length * std::cos(a - half), o.y + length * std::sin(a - half)},
        {o.x + length * std::cos(a + half), o.y + length * std::sin(a + half)}};
    FillPolygon(c, wedge, colour, opacity);
  }
}

}  // namespace

void DrawChristkind(Canvas& c, Box card) {
  const Frame f(card);
  FillRect(c, f.Whole(), Vertical(f, 0, Hex(0xFFF6DE), 200, Hex(0xF2D49C)));
  const Point head{100, 62};
  Rays(c, f, head, 18, 160, Hex(0xFFFFFF), 0.35f);
  Glow(c, f(head.x, head.y), 95, Hex(0xFFFFFF), 0.7f);
  // Halo of light with short rays.
  Glow(c, f(head.x, head.y), 58, Hex(0xFFE680), 0.5f);
  StrokeArc(c, f(head.x, head.y), 37, 3, 0, 2 * kPi, kGold);
  for (int i = 0; i < 16; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / 16 + 0.1f;
    StrokeLine(c, f(head.x + 42 * std::cos(a), head.y + 42 * std::sin(a)),
               f(head.x + 50 * std::cos(a), head.y + 50 * std::sin(a)), 2.2f, kGold, 0.9f);
  }
  // Golden curls falling to the shoulders.
  const Rgb hair = Hex(0xF0B83A);
  const Rgb curl = Hex(0xF9D463);
  FillEllipse(c, f(100, 72), 29, 32, 0, hair);
  for (float y : {66.0f, 80.0f, 93.0f}) {
    for (float side : {-1.0f, 1.0f}) {
      FillCircle(c, f(100 + side * 27, y), 9, hair);
      FillCircle(c, f(100 + side * 28, y - 2), 4.5f, curl);
    }
  }
  // White robe with golden trim.
  const std::vector<Point> robe =
      f({{86, 92}, {114, 92}, {127, 104}, {146, 160}, {54, 160}, {73, 104}});
  FillPolygon(c, robe, Rounded(f, 100, 48, kWhite, Hex(0xD9DFEE)));
  std::vector<Point> outline = robe;
  outline.push_back(robe.front());
  StrokePath(c, outline, 1.4f, Hex(0xB9C1D6));
  StrokeLine(c, f(71, 113), f(129, 113), 4, kGold);
  StrokeLine(c, f(57, 154), f(143, 154), 4, kGold);
  for (const Point& s :
       {Point{84, 132}, Point{114, 126}, Point{100, 143}, Point{124, 145}, Point{76, 147}}) {
    FillStar(c, f(s.x, s.y), 4, 1.7f, 5, 0, kGold);
  }
  // Sleeves and hands; the right hand holds a star wand.
  FillEllipse(c, f(70, 114), 19, 7.5f, 1.0f, Hex(0xF5F7FC));
  FillCircle(c, f(60, 130), 5.5f, Hex(0xFCD9BE));
  StrokeLine(c, f(146, 96), f(160, 56), 2.6f, Horizontal(f, 146, kDarkGold, 160, kGold));
  Glow(c, f(162, 50), 30, Hex(0xFFF0A0), 0.7f);
  FillStar(c, f(162, 50), 12, 5, 5, 0.1f, Hex(0xFFD23A));
  FillStar(c, f(162, 50), 6, 2.5f, 5, 0.1f, Hex(0xFFF8D0));
  FillEllipse(c, f(132, 105), 19, 7.5f, -0.75f, Hex(0xF5F7FC));
  FillCircle(c, f(146, 96), 5.5f, Hex(0xFCD9BE));
  // Face.
  FillCircle(c, f(head.x, head.y), 19, Hex(0xFCDCC2));
  Eyes(c, f, {93, 63}, {107, 63}, 2.3f);
  Cheeks(c, f, {88, 70}, {112, 70}, 4.5f);
  StrokeArc(c, f(100, 66), 6, 1.7f, 0.45f, kPi - 0.45f, Hex(0xB0483E));
  // Fringe and crown.
  FillEllipse(c, f(100, 46), 20, 9, 0, hair);
  for (float x : {86.0f, 94.0f, 102.0f, 110.0f, 116.0f}) FillCircle(c, f(x, 47), 5, hair);
  const std::vector<Point> crown = f({{83, 40},
                                      {82, 24},
                                      {90, 31},
                                      {95, 18},
                                      {100, 28},
                                      {105, 18},
                                      {110, 31},
                                      {118, 24},
                                      {117, 40}});
  FillPolygon(c, crown, Vertical(f, 18, Hex(0xFFEB8A), 40, Hex(0xD89A16)));
  for (const Point& tip : {Point{82, 24}, Point{95, 18}, Point{105, 18}, Point{118, 24}}) {
    FillCircle(c, f(tip.x, tip.y), 2.4f, Hex(0xFFF3B0));
  }
  FillCircle(c, f(100, 35), 2.6f, Hex(0xD7263D));
  FillCircle(c, f(89, 36), 1.8f, Hex(0x2E6FD8));
  FillCircle(c, f(111, 36), 1.8f, Hex(0x2E6FD8));
  // Twinkles around.
  for (const Point& s :
       {Point{30, 38}, Point{170, 108}, Point{28, 130}, Point{40, 84}, Point{178, 150}}) {
    Sparkle(c, f(s.x, s.y), 6, Hex(0xF5C842));
  }
}

void DrawKnechtRuprecht(Canvas& c, Box card) {
  const Frame f(card);
  FillRect(c, f.Whole(), Vertical(f, 0, Hex(0xE9EEF5), 200, Hex(0xB9C8DA)));
  // A wintry wood behind him.
  for (const Point& t : {Point{18, 118}, Point{150, 110}, Point{160, 130}, Point{8, 135}}) {
    FillPolygon(c, f({{t.x, t.y - 50}, {t.x + 16, t.y}, {t.x - 16, t.y}}), Hex(0xA3B6C9));
  }
  FillEllipse(c, f(85, 150), 110, 24, 0, Hex(0xF5F8FC));
  // The sack on his back.
  FillEllipse(c, f(48, 96), 25, 32, -0.25f,
              RadialGradient(f(40, 86), 40, Hex(0xC9A06A), Hex(0x7C5A32)));
  StrokeArc(c, f(48, 96), 18, 1.2f, 2.2f, 3.6f, Hex(0x6A4A28), 0.7f);
  FillEllipse(c, f(58, 64), 7, 5, 0, Hex(0x7C5A32));
  StrokeLine(c, f(52, 69), f(64, 66), 2, Hex(0xD9C08A));
  // The rod: a bundle of twigs tied with a red ribbon.
  for (int i = 0; i < 7; ++i) {
    const float spread = static_cast<float>(i) - 3;
    StrokePath(
        c,
        f({{120, 104}, {126 + spread * 2.5f, 60}, {133 + spread * 5, 16 + std::abs(spread) * 2}}),
        1.6f, Hex(0x4A2E16));
  }
  FillEllipse(c, f(122, 82), 6, 3.5f, 0.5f, Hex(0xD01C36));
  FillEllipse(c, f(130, 80), 6, 3.5f, -0.5f, Hex(0xD01C36));
  FillCircle(c, f(126, 82), 2.5f, Hex(0xA0102A));
  // The hooded cloak.
  const Rgb cloak = Hex(0x5E3B22);
  const Rgb cloak_side = Hex(0x33200F);
  FillPolygon(c, f({{70, 56}, {100, 56}, {126, 142}, {44, 142}}),
              Rounded(f, 85, 45, Hex(0x6E4629), cloak_side));
  for (const Point& fold : {Point{74, 136}, Point{96, 136}, Point{58, 138}}) {
    StrokeLine(c, f(85, 70), f(fold.x, fold.y), 1.4f, Hex(0x2A1709), 0.6f);
  }
  StrokeLine(c, f(60, 104), f(110, 104), 3.2f, Hex(0xCFAE72));
  StrokeLine(c, f(82, 104), f(78, 122), 2.4f, Hex(0xCFAE72));
  StrokeLine(c, f(86, 104), f(88, 124), 2.4f, Hex(0xCFAE72));
  // Arms: the left holds the sack, the right the rod.
  StrokeLine(c, f(72, 68), f(58, 82), 13, cloak);
  FillCircle(c, f(56, 80), 5, Hex(0xD4A07A));
  StrokeLine(c, f(99, 68), f(117, 100), 13, cloak);
  FillCircle(c, f(120, 101), 5.5f, Hex(0xD4A07A));
  // Hood with its point, and the shadow inside it.
  FillPolygon(c, f({{64, 40}, {76, 6}, {106, 34}}), Hex(0x4E3019));
  FillEllipse(c, f(85, 44), 24, 27, 0, Hex(0x4E3019));
  FillEllipse(c, f(85, 47), 16.5f, 19, 0, Hex(0x1E1108));
  // Weathered face, bushy brows and a grizzled beard.
  FillEllipse(c, f(85, 48), 12.5f, 13.5f, 0, Hex(0xD6A27C));
  Eyes(c, f, {80, 45}, {90, 45}, 1.8f);
  StrokeLine(c, f(75, 40), f(83, 41.5f), 2.6f, Hex(0x3A302A));
  StrokeLine(c, f(87, 41.5f), f(95, 40), 2.6f, Hex(0x3A302A));
  const std::vector<Point> beard =
      f({{72, 50}, {98, 50}, {100, 62}, {95, 76}, {85, 88}, {75, 76}, {70, 62}});
  FillPolygon(c, beard, Vertical(f, 50, Hex(0x7A6D62), 88, Hex(0x4F443C)));
  for (float x : {78.0f, 85.0f, 92.0f}) {
    StrokeLine(c, f(x, 62), f(x + (85 - x) * 0.3f, 82), 1.1f, Hex(0x9C9084), 0.8f);
  }
  FillEllipse(c, f(85, 50.5f), 3.2f, 3.6f, 0, Hex(0xC28660));
  FillEllipse(c, f(80.5f, 55), 5.5f, 2.6f, 0.3f, Hex(0x544840));
  FillEllipse(c, f(89.5f, 55), 5.5f, 2.6f, -0.3f, Hex(0x544840));
}

void DrawNikolaus(Canvas& c, Box card) {
  const Frame f(card);
  FillRect(c, f.Whole(), Vertical(f, 0, Hex(0xF8EEDC), 197, Hex(0xE6CBA4)));
  // A church window behind him.
  FillPolygon(c, f({{70, 150}, {70, 60}, {106, 22}, {142, 60}, {142, 150}}), Hex(0xEAD9BC));
  Glow(c, f(106, 70), 95, Hex(0xFFF7E0), 0.6f);
  const Rgb red = Hex(0xC8161E);
  const Rgb dark_red = Hex(0x8E0D14);
  const Paint gold = Horizontal(f, 30, Hex(0xFFE58A), 60, kDarkGold);
  // The crozier.
  StrokeLine(c, f(44, 158), f(44, 48), 4.5f, gold);
  StrokeArc(c, f(56, 46), 12, 4.5f, kPi, 2 * kPi + 0.9f,
            Horizontal(f, 44, Hex(0xFFE58A), 70, kDarkGold));
  FillCircle(c, f(56 + 12 * std::cos(0.9f), 46 + 12 * std::sin(0.9f)), 3.2f, Hex(0xFFE58A));
  FillCircle(c, f(44, 72), 4, Hex(0xE8B83A));
  // Robe: white alb beneath a red chasuble with golden borders.
  FillPolygon(c, f({{66, 140}, {146, 140}, {150, 162}, {62, 162}}), Hex(0xF6F6F8));
  const std::vector<Point> robe = f({{86, 74}, {126, 74}, {150, 150}, {62, 150}});
  FillPolygon(c, robe, Rounded(f, 106, 46, Hex(0xE02A30), dark_red));
  StrokeLine(c, f(86, 74), f(62, 150), 4, Hex(0xE8B83A));
  StrokeLine(c, f(126, 74), f(150, 150), 4, Hex(0xE8B83A));
  StrokeLine(c, f(63, 148), f(149, 148), 4, Hex(0xE8B83A));
  FillRect(c, f.Rect(100, 96, 112, 148), Horizontal(f, 100, Hex(0xFFE58A), 112, Hex(0xD9A520)));
  for (float y : {108.0f, 126.0f, 142.0f}) {
    StrokeLine(c, f(106, y - 5), f(106, y + 5), 2, dark_red);
    StrokeLine(c, f(102, y - 1), f(110, y - 1), 2, dark_red);
  }
  // Left arm to the crozier, right arm holding the golden book.
  StrokeLine(c, f(90, 82), f(52, 98), 15, red);
  FillEllipse(c, f(57, 97), 4, 8.5f, -0.4f, Hex(0xF6F6F8));
  FillCircle(c, f(47, 98), 6, Hex(0xF6C9A6));
  StrokeLine(c, f(122, 82), f(134, 112), 15, red);
  FillRoundRect(c, f.Rect(124, 102, 152, 126), 2, Hex(0x7A1010));
  StrokeRoundRect(c, f.Rect(124, 102, 152, 126), 2, 2, Hex(0xE8B83A));
  StrokeLine(c, f(138, 107), f(138, 121), 1.8f, Hex(0xE8B83A));
  StrokeLine(c, f(133, 111), f(143, 111), 1.8f, Hex(0xE8B83A));
  FillCircle(c, f(127, 114), 5.5f, Hex(0xF6C9A6));
  // Head: white hair, face and a big soft beard.
  FillCircle(c, f(90, 60), 8, Hex(0xF4F4F6));
  FillCircle(c, f(122, 60), 8, Hex(0xF4F4F6));
  FillCircle(c, f(106, 62), 15, Hex(0xF6CBA8));
  Eyes(c, f, {100, 59}, {112, 59}, 1.9f);
  Cheeks(c, f, {96, 65}, {116, 65}, 3.5f);
  StrokeLine(c, f(97, 54), f(102, 54), 1.8f, Hex(0xE8E8EC));
  StrokeLine(c, f(110, 54), f(115, 54), 1.8f, Hex(0xE8E8EC));
  const Paint beard = RadialGradient(f(100, 78), 34, kWhite, Hex(0xD6DBE4));
  for (const Point& p : {Point{106, 84}, Point{93, 92}, Point{119, 92}, Point{106, 100},
                         Point{95, 76}, Point{117, 76}}) {
    FillCircle(c, f(p.x, p.y), 11.5f, Hex(0xBFC6D2));
  }
  for (const Point& p : {Point{106, 84}, Point{93, 92}, Point{119, 92}, Point{106, 100},
                         Point{95, 76}, Point{117, 76}}) {
    FillCircle(c, f(p.x, p.y), 10.5f, beard);
  }
  FillEllipse(c, f(106, 66.5f), 3.4f, 3.2f, 0, Hex(0xEBA887));
  FillEllipse(c, f(100.5f, 71), 7, 3.4f, 0.3f, Hex(0xF0F2F6));
  FillEllipse(c, f(111.5f, 71), 7, 3.4f, -0.3f, Hex(0xF0F2F6));
  // The mitre with its golden bands and cross.
  const std::vector<Point> mitre = f({{88, 50}, {124, 50}, {128, 28}, {106, 6}, {84, 28}});
  FillPolygon(c, mitre, Rounded(f, 106, 24, Hex(0xE02A30), dark_red));
  std::vector<Point> rim = mitre;
  rim.push_back(mitre.front());
  StrokePath(c, rim, 2.6f, Hex(0xE8B83A));
  FillRect(c, f.Rect(88, 43, 124, 50), Horizontal(f, 88, Hex(0xFFE58A), 124, Hex(0xD9A520)));
  FillRect(c, f.Rect(103, 9, 109, 43), Hex(0xE8B83A));
  StrokeLine(c, f(98, 25), f(114, 25), 3, Hex(0xE8B83A));
  FillCircle(c, f(106, 25), 2.2f, Hex(0x2E6FD8));
}

void DrawEngel(Canvas& c, Box card) {
  const Frame f(card);
  FillRect(c, f.Whole(), Vertical(f, 0, Hex(0xEEE9FA), 169, Hex(0xC5D2F0)));
  Glow(c, f(100, 60), 100, kWhite, 0.55f);
  for (const Point& s :
       {Point{22, 22}, Point{180, 30}, Point{14, 110}, Point{186, 112}, Point{160, 8}}) {
    Sparkle(c, f(s.x, s.y), 5, Hex(0xF5C842));
  }
  // Wings: layered feathers fanning out from each shoulder.
  const Rgb feather_edge = Hex(0xA9B5D6);
  for (float side : {-1.0f, 1.0f}) {
    const Point shoulder{100 + side * 10, 70};
    const float kAngles[] = {-0.75f, -0.35f, 0.05f, 0.42f, 0.78f};
    const float kLengths[] = {64, 70, 64, 54, 42};
    for (int i = 4; i >= 0; --i) {
      const float a = kAngles[i];
      const Point dir{side * std::cos(a), std::sin(a)};
      const float half = kLengths[i] / 2;
      const Point centre = f(shoulder.x + dir.x * half, shoulder.y + dir.y * half);
      const float angle = std::atan2(dir.y, dir.x);
      FillEllipse(c, centre, half + 1.2f, 9.2f, angle, feather_edge);
      FillEllipse(c, centre, half, 8, angle,
                  RadialGradient(f(shoulder.x, shoulder.y), 70, kWhite, Hex(0xE2E8F6)));
    }
  }
  // Long hair behind the shoulders, then the robe.
  const Rgb hair = Hex(0xB66A34);
  FillEllipse(c, f(100, 52), 20, 23, 0, hair);
  const std::vector<Point> robe =
      f({{88, 64}, {112, 64}, {125, 78}, {140, 134}, {60, 134}, {75, 78}});
  FillPolygon(c, robe, Rounded(f, 100, 42, Hex(0xD6E6FC), Hex(0x8FB0E0)));
  StrokeLine(c, f(62, 128), f(138, 128), 3.5f, kGold);
  FillEllipse(c, f(100, 66), 11, 4, 0, kGold);
  // Face and halo.
  FillCircle(c, f(100, 46), 15, Hex(0xFAD7BE));
  FillEllipse(c, f(100, 35), 15, 6.5f, 0, hair);
  FillCircle(c, f(87, 40), 5, hair);
  FillCircle(c, f(113, 40), 5, hair);
  StrokeArc(c, f(94, 45), 2.8f, 1.4f, 0.3f, kPi - 0.3f, kEye);
  StrokeArc(c, f(106, 45), 2.8f, 1.4f, 0.3f, kPi - 0.3f, kEye);
  Cheeks(c, f, {91, 51}, {109, 51}, 3.2f);
  Glow(c, f(100, 20), 28, Hex(0xFFE680), 0.6f);
  StrokeEllipse(c, f(100, 20), 15, 4.5f, 3, kGold);
  // Sleeves and hands holding a golden trumpet.
  const Point mouth{101, 54};
  const Point bell{152, 36};
  const Point dir{(bell.x - mouth.x) / std::hypot(bell.x - mouth.x, bell.y - mouth.y),
                  (bell.y - mouth.y) / std::hypot(bell.x - mouth.x, bell.y - mouth.y)};
  const Point normal{-dir.y, dir.x};
  StrokeLine(c, f(90, 74), f(118, 62), 10, Hex(0xC4D8F6));
  StrokeLine(c, f(110, 74), f(130, 58), 10, Hex(0xC4D8F6));
  StrokeLine(c, f(mouth.x, mouth.y), f(bell.x - dir.x * 8, bell.y - dir.y * 8), 3.2f,
             Horizontal(f, 100, Hex(0xFFE58A), 150, kDarkGold));
  const float flare = 11;
  FillPolygon(c,
              f({{bell.x - dir.x * 14 + normal.x * 2, bell.y - dir.y * 14 + normal.y * 2},
                 {bell.x + normal.x * flare, bell.y + normal.y * flare},
                 {bell.x - normal.x * flare, bell.y - normal.y * flare},
                 {bell.x - dir.x * 14 - normal.x * 2, bell.y - dir.y * 14 - normal.y * 2}}),
              Horizontal(f, 135, Hex(0xFFE58A), 155, kDarkGold));
  FillEllipse(c, f(bell.x, bell.y), 3.5f, flare, std::atan2(dir.y, dir.x), Hex(0xFFF0B0));
  FillCircle(c, f(118, 61), 4.5f, Hex(0xFAD7BE));
  FillCircle(c, f(130, 57), 4.5f, Hex(0xFAD7BE));
  Sparkle(c, f(170, 28), 5, Hex(0xF5C842));
  Sparkle(c, f(176, 50), 4, Hex(0xF5C842));
}

}  // namespace pictures
