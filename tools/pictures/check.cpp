// SPDX-License-Identifier: MIT
#include "pictures/check.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "pictures/bmp.h"
#include "pictures/board.h"
#include "pictures/font.h"
#include "pictures/menu.h"

namespace pictures {
namespace {

// Cells must stay light enough for black crosses, dark blue and dark red rings and the dark
// blue banner; the bars' outermost pixel lines must be dark so the bars show exactly where
// they lie.
constexpr float kMinCellLuminance = 200.0f;
constexpr float kMaxBarEdgeLuminance = 100.0f;

// The game's screen geometry, written out again here so that a slip in the drawing tables
// cannot hide itself: the gaps between the bands of cells, and the corners that choose an
// opponent (inclusive pixel bounds).
struct Span {
  int first, last;
};
constexpr Span kGaps[] = {{209, 220}, {430, 441}};
struct Corner {
  int x0, x1, y0, y1;
};
constexpr Corner kCorners[] = {
    {0, 209, 0, 209}, {443, 621, 0, 209}, {443, 649, 443, 649}, {0, 209, 443, 621}};

bool InGap(int v) {
  for (const Span& gap : kGaps) {
    if (v >= gap.first && v <= gap.last) return true;
  }
  return false;
}

class Report {
 public:
  void Expect(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    ++(ok ? passed_ : failed_);
  }
  bool Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    return failed_ == 0;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

struct Rgb8View {
  const std::vector<uint8_t>& rgb;
  int width;
  float Luminance(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3;
    return Luminance8(rgb[i], rgb[i + 1], rgb[i + 2]);
  }
};

void CheckBoard(Report& report) {
  const Canvas board = RenderBoard();
  report.Expect(board.width() == kPictureSize && board.height() == kPictureSize,
                "board picture is 651 x 651");
  const std::vector<uint8_t> rgb = board.ToRgb8();
  const Rgb8View view{rgb, board.width()};

  int dark_cells = 0;
  for (int y = 0; y < kPictureSize; ++y) {
    for (int x = 0; x < kPictureSize; ++x) {
      if (!InGap(x) && !InGap(y) && view.Luminance(x, y) < kMinCellLuminance) {
        ++dark_cells;
      }
    }
  }
  report.Expect(dark_cells == 0, "every cell pixel is light (" + std::to_string(dark_cells) +
                                     " too dark), up to the picture's edges");

  int light_edges = 0;
  for (const Span& gap : kGaps) {
    for (int along = 0; along < kPictureSize; ++along) {
      if (InGap(along)) continue;  // the crossing squares belong to the other bar too
      for (int edge : {gap.first, gap.last}) {
        if (view.Luminance(edge, along) > kMaxBarEdgeLuminance) ++light_edges;
        if (view.Luminance(along, edge) > kMaxBarEdgeLuminance) ++light_edges;
      }
    }
  }
  report.Expect(light_edges == 0, "grid bars start and end exactly at the gaps (" +
                                      std::to_string(light_edges) + " edge pixels not dark)");
}

void CheckMenuLayout(Report& report) {
  for (int i = 0; i < 4; ++i) {
    const OpponentCard& card = kOpponentCards[i];
    const Corner& corner = kCorners[i];
    const std::string name = std::string(card.name_lines[0]) +
                             (card.name_lines[1] ? std::string(" ") + card.name_lines[1] : "");
    const Box& b = card.card;
    report.Expect(b.x0 >= static_cast<float>(corner.x0) && b.y0 >= static_cast<float>(corner.y0) &&
                      b.x1 <= static_cast<float>(corner.x1 + 1) &&
                      b.y1 <= static_cast<float>(corner.y1 + 1),
                  name + ": card lies inside its click corner");
    const Box ribbon = NameRibbon(card);
    report.Expect(ribbon.x0 >= b.x0 && ribbon.y0 >= b.y0 && ribbon.x1 <= b.x1 && ribbon.y1 <= b.y1,
                  name + ": name ribbon lies on its card");
    bool fits = true;
    for (const char* line : card.name_lines) {
      if (line && TextWidth(line, kNameScale) > ribbon.x1 - ribbon.x0 - 4) fits = false;
    }
    report.Expect(fits, name + ": name fits on its ribbon");
  }
  const Canvas menu = RenderMenu();
  report.Expect(menu.width() == kPictureSize && menu.height() == kPictureSize,
                "menu picture is 651 x 651");
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<uint32_t>(bytes[at + 3]) << 24;
}

void CheckBmp(Report& report) {
  Canvas c(5, 3, Hex(0x000000));
  c.Set(0, 0, Hex(0x102030));  // top left
  c.Set(4, 2, Hex(0xA0B0C0));  // bottom right
  const std::vector<uint8_t> bmp = EncodeBmp24(c);
  const uint32_t row = BmpRowBytes(5);
  report.Expect(row == 16, "BMP rows are padded to a multiple of 4 bytes");
  report.Expect(bmp.size() == kBmpHeaderBytes + 3 * row && Read32(bmp, 2) == bmp.size() &&
                    Read32(bmp, 10) == kBmpHeaderBytes && Read32(bmp, 14) == 40 &&
                    Read32(bmp, 18) == 5 && Read32(bmp, 22) == 3 && bmp[28] == 24 &&
                    Read32(bmp, 30) == 0,
                "BMP headers: sizes, offsets, 24 bits, no compression, positive height");
  // Bottom row first, each pixel blue, green, red.
  const size_t bottom_right = kBmpHeaderBytes + 4 * 3;
  const size_t top_left = kBmpHeaderBytes + 2 * row;
  report.Expect(bmp[bottom_right] == 0xC0 && bmp[bottom_right + 1] == 0xB0 &&
                    bmp[bottom_right + 2] == 0xA0 && bmp[top_left] == 0x30 &&
                    bmp[top_left + 1] == 0x20 && bmp[top_left + 2] == 0x10,
                "BMP stores the bottom row first, pixels as blue, green, red");
}

}  // namespace

bool RunChecks() {
  Report report;
  CheckBmp(report);
  CheckBoard(report);
  CheckMenuLayout(report);
  return report.Finish();
}

}  // namespace pictures
