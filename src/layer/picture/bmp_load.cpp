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

namespace bmp {

int32_t ReadTarget(ImageBuffer* image, ImageView& view) {
  {
    std::lock_guard lock(ScreenLock());
    if (!CurrentScreen()) return kPictureBadCall;
  }
  if (!ReadImageView(image, view) || view.bytes_per_pixel != kScreenBytesPerPixel) {
    return kPictureBadCall;
  }
  return kPictureOk;
}

Placement PlaceIn(ImageBuffer* image, const ImageView& view, int32_t width, int32_t height) {
  Placement placement;
  placement.pixels = ImageBytes(image) + view.pixels_offset;
  placement.pitch = view.pitch;
  placement.cols = std::min(width, view.width);
  placement.rows = std::min(
      {height, view.height, view.RowsInBlock(int64_t{placement.cols} * kScreenBytesPerPixel)});
  return placement;
}

}  // namespace bmp

int32_t LoadBmpPicture(PictureFile& file, ImageBuffer* image) {
  ImageView view;
  if (const int32_t status = bmp::ReadTarget(image, view); status != kPictureOk) return status;
  bmp::BmpLayout layout;
  if (const int32_t status = bmp::ReadBmpLayout(file, layout); status != kPictureOk) return status;
  const bmp::Placement placement = bmp::PlaceIn(image, view, layout.width, layout.height);

  std::lock_guard lock(ScreenLock());
  if (layout.compression == bmp::kRunLength8 || layout.compression == bmp::kRunLength4) {
    return bmp::DecodeRunLength(file, layout, placement);
  }
  return bmp::ReadPixelRows(file, layout, placement);
}

}  // namespace layer
