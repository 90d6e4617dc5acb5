# SPDX-License-Identifier: MIT
# The sources of make_pictures, the host tool that draws the game's pictures: shared by the
# game's build and by the native build of the tool that a cross build runs.
set(XMAS_MAKE_PICTURES_SOURCES
  tools/make_pictures.cpp
  tools/pictures/bmp.cpp
  tools/pictures/board.cpp
  tools/pictures/canvas.cpp
  tools/pictures/check.cpp
  tools/pictures/deflate.cpp
  tools/pictures/figures.cpp
  tools/pictures/font_glyphs.cpp
  tools/pictures/ico.cpp
  tools/pictures/icon.cpp
  tools/pictures/icon_table.cpp
  tools/pictures/menu.cpp
  tools/pictures/packed.cpp
  tools/pictures/text.cpp)
