// SPDX-License-Identifier: MIT
// Loading a BMP file into an image buffer: headers first, then the pixels under the screen
// lock. The buffer keeps its header; only the part of it the picture covers is written.
#include <algorithm>
#include <mutex>

#include "picture/bmp_headers.h"
#include "picture/bmp_placement.h"
#include "picture/bmp_rle.h"
#include "picture/bmp_rows.h"
#include "picture/image_buffer.h"
#include "picture/image_load.h"
#include "screen/screen.h"

namespace layer {

int32_t LoadBmpPicture(PictureFile& file, ImageBuffer* image) {
  {
    std::lock_guard lock(ScreenLock());
    if (!CurrentScreen()) return kPictureBadCall;
  }
  ImageView view;
  if (!ReadImageView(image, view) || view.bytes_per_pixel != kScreenBytesPerPixel) {
    return kPictureBadCall;
  }

  bmp::BmpLayout layout;
  if (const int32_t status = bmp::ReadBmpLayout(file, layout); status != kPictureOk) return status;

  bmp::Placement placement;
  placement.pixels = ImageBytes(image) + view.pixels_offset;
  placement.pitch = view.pitch;
  placement.cols = std::min(layout.width, view.width);
  // Rows the header states beyond the block's end (after a raw load) are never written.
  placement.rows = std::min({layout.height, view.height,
                             view.RowsInBlock(int64_t{placement.cols} * kScreenBytesPerPixel)});

  std::lock_guard lock(ScreenLock());
  if (layout.compression == bmp::kRunLength8 || layout.compression == bmp::kRunLength4) {
    return bmp::DecodeRunLength(file, layout, placement);
  }
  return bmp::ReadPixelRows(file, layout, placement);
}

}  // namespace layer
