// SPDX-License-Identifier: MIT
#include "pictures/icon.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "pictures/board.h"
#include "pictures/byte_order.h"
#include "pictures/deflate.h"

namespace pictures {
namespace {

constexpr Rgb kCross = Hex(0x000000);  // the game's crosses
constexpr Rgb kRing = Hex(0x0000AA);   // the computer's rings
// Strokes far wider than the game's one-pixel marks, so that they still read at 48 pixels.
constexpr float kStroke = 38.0f;
constexpr float kCellCentres[] = {104.5f, 325.5f, 546.5f};

void Cross(Canvas& c, int cell) {
  const Point centre{kCellCentres[(cell - 1) % 3], kCellCentres[(cell - 1) / 3]};
  constexpr float kHalf = 62.0f;
  StrokeLine(c, {centre.x - kHalf, centre.y - kHalf}, {centre.x + kHalf, centre.y + kHalf}, kStroke,
             kCross);
  StrokeLine(c, {centre.x - kHalf, centre.y + kHalf}, {centre.x + kHalf, centre.y - kHalf}, kStroke,
             kCross);
}

void Ring(Canvas& c, int cell) {
  const Point centre{kCellCentres[(cell - 1) % 3], kCellCentres[(cell - 1) / 3]};
  StrokeEllipse(c, centre, 66.0f, 66.0f, kStroke, kRing);
}

uint32_t Crc32(const uint8_t* bytes, size_t n) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void Chunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data) {
  Put32BigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  Put32BigEndian(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

Canvas RenderIconArt() {
  Canvas c = RenderBoard();
  for (int cell : {1, 5, 9}) Cross(c, cell);
  for (int cell : {3, 7}) Ring(c, cell);
  return c;
}

Canvas Shrink(const Canvas& c, int size) {
  Canvas out(size, size, Rgb{});
  const float step_x = static_cast<float>(c.width()) / static_cast<float>(size);
  const float step_y = static_cast<float>(c.height()) / static_cast<float>(size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float x0 = x * step_x, x1 = x0 + step_x, y0 = y * step_y, y1 = y0 + step_y;
      Rgb sum{};
      float weight = 0;
      for (int sy = static_cast<int>(y0); sy < std::min(static_cast<float>(c.height()), y1); ++sy) {
        const float wy = std::min(y1, sy + 1.0f) - std::max(y0, static_cast<float>(sy));
        for (int sx = static_cast<int>(x0); sx < std::min(static_cast<float>(c.width()), x1);
             ++sx) {
          const float w = wy * (std::min(x1, sx + 1.0f) - std::max(x0, static_cast<float>(sx)));
          const Rgb p = c.At(sx, sy);
          sum.r += p.r * w;
          sum.g += p.g * w;
          sum.b += p.b * w;
          weight += w;
        }
      }
      out.Set(x, y, {sum.r / weight, sum.g / weight, sum.b / weight});
    }
  }
  return out;
}

std::vector<uint8_t> EncodePng(const Canvas& c) {
  // The image data: each row behind a filter byte 0, compressed.
  const std::vector<uint8_t> rgb = c.ToRgb8();
  const size_t row_bytes = static_cast<size_t>(c.width()) * 3;
  std::vector<uint8_t> raw;
  for (int y = 0; y < c.height(); ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), rgb.begin() + static_cast<ptrdiff_t>(y * row_bytes),
               rgb.begin() + static_cast<ptrdiff_t>((y + 1) * row_bytes));
  }
  const std::vector<uint8_t> z = ZlibCompress(raw);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32BigEndian(header, static_cast<uint32_t>(c.width()));
  Put32BigEndian(header, static_cast<uint32_t>(c.height()));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace pictures
