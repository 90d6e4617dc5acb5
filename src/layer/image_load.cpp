// LoadPicture: opens the file and hands it to the reader its first byte names.
#include "image_load.h"

#include <algorithm>
#include <string>

namespace layer {
namespace {

// File names are cut to 259 bytes, and both separators are taken as the platform's.
constexpr size_t kMaxPathBytes = 259;

std::string PlatformPath(std::string_view file_name) {
  std::string path(file_name.substr(0, kMaxPathBytes));
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

int32_t LoadPicture(std::string_view file_name, ImageBuffer* image) {
  if (!image) return 1;
  PictureFile file;
  if (!file.Open(PlatformPath(file_name))) return 2;
  uint8_t first = 0;
  if (!file.ReadExact(0, &first, 1)) return 3;
  switch (first) {
    case kRawLongForm:
    case kRawShortForm:
      return LoadRawPicture(file, first, image);
    case kBmpFirstByte:
      return LoadBmpPicture(file, image);
    default:
      return 3;
  }
}

}  // namespace layer
