// SPDX-License-Identifier: MIT
// Draws the game's two pictures, Menu.Vadi (the opponent menu) and Vadi.Vadi (the board), as
// 651 x 651 24-bit BMP files into the directory given on the command line.
//
//   make_pictures DIR      write DIR/Menu.Vadi and DIR/Vadi.Vadi
//   make_pictures --check  draw both in memory and verify the pictures' layout rules
//   make_pictures --icons DIR  write the program's icon as DIR/NxN/xmas-tictactoe.png for
//                          N = 48, 128 and 256
//   make_pictures --ico FILE   write the program's Windows icon, sizes 16 to 256, as FILE
//   make_pictures --icon-table FILE  write the window icon (64 x 64) as a C++ data table
//   make_pictures --web DIR    write what the browser page serves: DIR/Menu.Vadi and
//                          DIR/Vadi.Vadi as packed pictures (pictures/packed.h) and the icon
//                          as DIR/icon-192.png and DIR/icon-512.png
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pictures/bmp.h"
#include "pictures/board.h"
#include "pictures/check.h"
#include "pictures/ico.h"
#include "pictures/icon.h"
#include "pictures/icon_table.h"
#include "pictures/menu.h"
#include "pictures/packed.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int WritePictures(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  const struct {
    const char* name;
    pictures::Canvas (*render)();
  } kPictures[] = {{"Menu.Vadi", pictures::RenderMenu}, {"Vadi.Vadi", pictures::RenderBoard}};
  for (const auto& picture : kPictures) {
    const std::filesystem::path path = dir / picture.name;
    if (!WriteFile(path, pictures::EncodeBmp24(picture.render()))) {
      std::fprintf(stderr, "make_pictures: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}

int WriteWebFiles(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  files.emplace_back("Menu.Vadi", pictures::EncodePacked(pictures::RenderMenu()));
  files.emplace_back("Vadi.Vadi", pictures::EncodePacked(pictures::RenderBoard()));
  const pictures::Canvas art = pictures::RenderIconArt();
  for (const int size : {192, 512}) {
    files.emplace_back("icon-" + std::to_string(size) + ".png",
                       pictures::EncodePng(pictures::Shrink(art, size)));
  }
  for (const auto& [name, bytes] : files) {
    if (!WriteFile(dir / name, bytes)) {
      std::fprintf(stderr, "make_pictures: cannot write %s\n", (dir / name).string().c_str());
      return 1;
    }
  }
  return 0;
}

int WriteIcons(const std::filesystem::path& dir) {
  const pictures::Canvas art = pictures::RenderIconArt();
  for (const int size : {48, 128, 256}) {
    const std::filesystem::path folder = dir / (std::to_string(size) + "x" + std::to_string(size));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path path = folder / "xmas-tictactoe.png";
    if (!WriteFile(path, pictures::EncodePng(pictures::Shrink(art, size)))) {
      std::fprintf(stderr, "make_pictures: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}

int WriteIco(const std::filesystem::path& file) {
  const pictures::Canvas art = pictures::RenderIconArt();
  std::vector<pictures::Canvas> images;
  for (const int size : pictures::kIcoSizes) images.push_back(pictures::Shrink(art, size));
  if (!WriteFile(file, pictures::EncodeIco(images))) {
    std::fprintf(stderr, "make_pictures: cannot write %s\n", file.string().c_str());
    return 1;
  }
  return 0;
}

int WriteIconTable(const std::filesystem::path& file) {
  const std::string source = pictures::WindowIconSource(
      pictures::Shrink(pictures::RenderIconArt(), pictures::kWindowIconSize));
  if (!WriteFile(file, std::vector<uint8_t>(source.begin(), source.end()))) {
    std::fprintf(stderr, "make_pictures: cannot write %s\n", file.string().c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view option = argc == 3 ? argv[1] : "";
  const bool file_option =
      option == "--icons" || option == "--ico" || option == "--icon-table" || option == "--web";
  if (argc != 2 && !file_option) {
    std::fprintf(stderr,
                 "usage: make_pictures DIR | make_pictures --check | "
                 "make_pictures --icons DIR | make_pictures --ico FILE | "
                 "make_pictures --icon-table FILE | make_pictures --web DIR\n");
    return 2;
  }
  try {
    if (option == "--icons") return WriteIcons(argv[2]);
    if (option == "--ico") return WriteIco(argv[2]);
    if (option == "--icon-table") return WriteIconTable(argv[2]);
    if (option == "--web") return WriteWebFiles(argv[2]);
    if (std::string_view(argv[1]) == "--check") return pictures::RunChecks() ? 0 : 1;
    return WritePictures(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_pictures: %s\n", e.what());
    return 1;
  }
}
