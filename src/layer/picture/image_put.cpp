// SPDX-License-Identifier: MIT
// Copying an image buffer onto the screen: clipped, one block move per row, under the lock.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "picture/image_buffer.h"
#include "screen/screen.h"

namespace layer {

int32_t PutImage(float x, float y, const ImageBuffer* image) {
  std::lock_guard lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (!screen || !image) return 1;

  ImageView view;
  if (!ReadImageView(image, view) || view.bytes_per_pixel != screen->bytes_per_pixel ||
      view.bytes_per_pixel != kScreenBytesPerPixel) {
    return 1;
  }

  const ClipRect clip = CurrentDrawingState(*screen).clip;
  const int64_t left = RoundCoordinate(x);
  const int64_t top = RoundCoordinate(y);
  const int64_t x1 = std::max<int64_t>({left, clip.left, 0});
  const int64_t y1 = std::max<int64_t>({top, clip.top, 0});
  const int64_t x2 = std::min<int64_t>({left + view.width - 1, clip.right, screen->width - 1});
  int64_t y2 = std::min<int64_t>({top + view.height - 1, clip.bottom, screen->height - 1});
  if (x1 > x2 || y1 > y2) return 0;

  // Rows the header states but the block does not hold (a raw file can say anything) are not
  // drawn: no byte outside the block is read.
  const int64_t source_x = x1 - left;
  const int64_t row_end = (source_x + (x2 - x1 + 1)) * kScreenBytesPerPixel;
  y2 = std::min<int64_t>(y2, top + view.RowsInBlock(row_end) - 1);
  if (y1 > y2) return 0;

  const uint8_t* pixels = ImageBytes(image) + view.pixels_offset;
  const size_t copy_bytes = static_cast<size_t>(x2 - x1 + 1) * kScreenBytesPerPixel;
  for (int64_t row = y1; row <= y2; ++row) {
    const uint8_t* from = pixels + (row - top) * view.pitch + source_x * kScreenBytesPerPixel;
    std::memcpy(screen->Row(static_cast<int32_t>(row)) + x1 * kScreenBytesPerPixel, from,
                copy_bytes);
  }
  MarkRows(*screen, static_cast<int32_t>(y1), static_cast<int32_t>(y2));
  return 0;
}

}  // namespace layer
