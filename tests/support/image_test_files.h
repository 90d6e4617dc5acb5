// SPDX-License-Identifier: MIT
// Helpers of the image tests: picture files written to a private temporary directory, and
// reading an image buffer's header and pixels by their fixed byte layout.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layer/layer.h"
#include "support/bmp_writer.h"
#include "support/headless_screen.h"

namespace image_test {

struct ImageDeleter {
  void operator()(layer::ImageBuffer* image) const { layer::ReleaseImage(image); }
};
using Image = std::unique_ptr<layer::ImageBuffer, ImageDeleter>;

inline Image MakeImage(int32_t width, int32_t height, uint32_t colour = 0,
                       uint32_t flags = layer::kDefaultFill) {
  return Image(layer::CreateImage(width, height, colour, 0, flags));
}

inline uint8_t* Bytes(const Image& image) {
  return reinterpret_cast<uint8_t*>(image.get());
}

inline uint32_t Word(const Image& image, size_t offset) {
  uint32_t v;
  std::memcpy(&v, Bytes(image) + offset, 4);
  return v;
}

// Pixel (x, y) of a buffer with the 32-byte header.
inline uint32_t PixelAt(const Image& image, int32_t x, int32_t y) {
  return Word(image, 32 + static_cast<size_t>(y) * Word(image, 16) + 4 * static_cast<size_t>(x));
}

// The whole pixel area, padding included.
inline std::vector<uint8_t> PixelArea(const Image& image) {
  const size_t bytes = size_t{Word(image, 12)} * Word(image, 16);
  return std::vector<uint8_t>(Bytes(image) + 32, Bytes(image) + 32 + bytes);
}

// A directory of its own, removed with its files at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::filesystem::path candidate =
          std::filesystem::temp_directory_path() / ("xmas-image-" + std::to_string(random()));
      std::error_code error;
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

// A raw image file of the long form (0xFE, 32-bit length) or short form (0xFD, 16-bit).
inline std::vector<uint8_t> RawFile(bool long_form, uint32_t length,
                                    const std::vector<uint8_t>& data) {
  std::vector<uint8_t> file;
  if (long_form) {
    file = {0xFE, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
            static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
  } else {
    file = {0xFD, 1, 2, 3, 4, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)};
  }
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

// A screen fixture with a temporary directory for picture files.
class PictureTest : public HeadlessScreen {
 protected:
  std::string Write(const std::vector<uint8_t>& bytes, const std::string& name = "picture.bmp") {
    return dir_.Write(name, bytes);
  }
  TempDir dir_;
};

}  // namespace image_test
