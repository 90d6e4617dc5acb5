# SPDX-License-Identifier: MIT
# The host tool make_pictures, which draws the game's two pictures. Included by Pictures.cmake
# for native builds and by cmake/host_tools for the browser build, which cannot run what its
# own compiler makes. XMAS_SOURCE_ROOT is the project's source folder.

add_executable(make_pictures
  ${XMAS_SOURCE_ROOT}/tools/make_pictures.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/bmp.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/board.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/canvas.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/check.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/figures.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/font_glyphs.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/menu.cpp
  ${XMAS_SOURCE_ROOT}/tools/pictures/text.cpp)
target_include_directories(make_pictures PRIVATE ${XMAS_SOURCE_ROOT}/tools)
target_compile_features(make_pictures PRIVATE cxx_std_20)
# Drawing takes a few seconds unoptimised (far more under sanitizers): always optimise the tool.
target_compile_options(make_pictures PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-O2>)
