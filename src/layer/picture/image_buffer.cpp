// SPDX-License-Identifier: MIT
// Making and releasing image buffers, and reading their headers safely.
#include "picture/image_buffer.h"

#include <algorithm>
#include <mutex>
#include <new>

#include "screen/screen.h"

namespace layer {
namespace {

// The hidden prefix before the header: 16 bytes, so the header stays on a 16-byte boundary.
struct BlockPrefix {
  uint64_t block_size;
  uint64_t unused;
};
static_assert(sizeof(BlockPrefix) == 16);
constexpr std::align_val_t kBlockAlignment{16};

const BlockPrefix* PrefixOf(const ImageBuffer* image) {
  return reinterpret_cast<const BlockPrefix*>(ImageBytes(image) - sizeof(BlockPrefix));
}

bool ScreenIsOpen() {
  std::lock_guard lock(ScreenLock());
  return CurrentScreen() != nullptr;
}

ImageBuffer* Fail(int32_t* status, int32_t code) {
  if (status) *status = code;
  return nullptr;
}

}  // namespace

size_t ImageBlockSize(const ImageBuffer* image) {
  return PrefixOf(image)->block_size;
}

ImageBuffer* CreateImage(int32_t width, int32_t height, uint32_t colour, int32_t depth,
                         uint32_t flags, int32_t* status) {
  // Depth 0 asks for the screen's pixel size; 24 and 32 name the same 4-byte pixels.
  if (!ScreenIsOpen() || width <= 0 || height <= 0 || (depth != 0 && depth != 24 && depth != 32)) {
    return Fail(status, 1);
  }
  const int64_t pitch = (int64_t{width} * kScreenBytesPerPixel + 15) / 16 * 16;
  if (pitch > INT32_MAX) return Fail(status, 1);
  const uint64_t pixel_bytes = static_cast<uint64_t>(height) * static_cast<uint64_t>(pitch);
  const uint64_t block_size = kImageHeaderBytes + pixel_bytes;
  if (block_size > SIZE_MAX - sizeof(BlockPrefix)) return Fail(status, 4);

  void* memory = ::operator new(sizeof(BlockPrefix) + block_size, kBlockAlignment, std::nothrow);
  if (!memory) return Fail(status, 4);
  auto* prefix = static_cast<BlockPrefix*>(memory);
  prefix->block_size = block_size;
  prefix->unused = 0;
  uint8_t* block = static_cast<uint8_t*>(memory) + sizeof(BlockPrefix);

  std::memset(block, 0, kImageHeaderBytes);
  StoreLe32(block + kHeaderMarker, kImageMarker);
  StoreLe32(block + kHeaderBytesPerPixel, kScreenBytesPerPixel);
  StoreLe32(block + kHeaderWidth, static_cast<uint32_t>(width));
  StoreLe32(block + kHeaderHeight, static_cast<uint32_t>(height));
  StoreLe32(block + kHeaderPitch, static_cast<uint32_t>(pitch));

  // Padding bytes are filled like pixels: one run over the whole pixel area.
  const uint32_t fill = (flags & kDefaultFill) ? kDefaultFillColour : colour;
  std::fill_n(reinterpret_cast<uint32_t*>(block + kImageHeaderBytes), pixel_bytes / 4, fill);

  if (status) *status = 0;
  return reinterpret_cast<ImageBuffer*>(block);
}

void ReleaseImage(ImageBuffer* image) {
  if (!image) return;
  ::operator delete(const_cast<BlockPrefix*>(PrefixOf(image)), kBlockAlignment);
}

bool ReadImageView(const ImageBuffer* image, ImageView& view) {
  const uint8_t* bytes = ImageBytes(image);
  view.block_size = ImageBlockSize(image);
  if (LoadLe32(bytes + kHeaderMarker) == kImageMarker) {
    view.bytes_per_pixel = static_cast<int32_t>(LoadLe32(bytes + kHeaderBytesPerPixel));
    view.width = static_cast<int32_t>(LoadLe32(bytes + kHeaderWidth));
    view.height = static_cast<int32_t>(LoadLe32(bytes + kHeaderHeight));
    view.pitch = static_cast<int32_t>(LoadLe32(bytes + kHeaderPitch));
    view.pixels_offset = kImageHeaderBytes;
  } else {
    // Compact form: bits 0-2 bytes per pixel (0 = the screen's), bits 3-15 width, then height.
    const uint16_t first = LoadLe16(bytes);
    view.bytes_per_pixel = (first & 7) == 0 ? kScreenBytesPerPixel : (first & 7);
    view.width = first >> 3;
    view.height = LoadLe16(bytes + 2);
    view.pitch = int64_t{view.width} * view.bytes_per_pixel;
    view.pixels_offset = kCompactHeaderBytes;
  }
  if (view.bytes_per_pixel <= 0 || view.width < 0 || view.height < 0) return false;
  return view.pitch >= int64_t{view.width} * view.bytes_per_pixel;
}

int32_t ImageView::RowsInBlock(int64_t row_bytes) const {
  if (height <= 0 || row_bytes < 0 || block_size < pixels_offset) return 0;
  const uint64_t room = block_size - pixels_offset;
  if (static_cast<uint64_t>(row_bytes) > room) return 0;
  if (pitch <= 0) return height;
  const uint64_t fitting =
      (room - static_cast<uint64_t>(row_bytes)) / static_cast<uint64_t>(pitch) + 1;
  return static_cast<int32_t>(std::min<uint64_t>(fitting, static_cast<uint64_t>(height)));
}

}  // namespace layer
