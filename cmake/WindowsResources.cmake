# SPDX-License-Identifier: MIT
# The Windows executable's resources, compiled by the resource compiler (mingw-w64's windres):
# the game's icon in sizes 16 to 256 (drawn by make_pictures, cmake/Pictures.cmake), the
# version information from project(VERSION) and the copyright line of LICENSE, and the
# application manifest (per-monitor DPI awareness, long paths, the Windows versions it knows).
# windres writes no time stamps, so the executable stays the same bytes on every build.
enable_language(RC)

file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" XMAS_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
if(NOT XMAS_COPYRIGHT)
  message(FATAL_ERROR "LICENSE has no Copyright line for the version information")
endif()
set(XMAS_RESOURCE_DIR "${CMAKE_CURRENT_BINARY_DIR}/resources")
set(XMAS_MANIFEST "${XMAS_RESOURCE_DIR}/xmas-tictactoe.exe.manifest")
set(XMAS_RESOURCE_SCRIPT "${XMAS_RESOURCE_DIR}/xmas-tictactoe.rc")
configure_file("${PROJECT_SOURCE_DIR}/src/layer/win32/win32_program.manifest.in" "${XMAS_MANIFEST}" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/src/layer/win32/win32_resources.rc.in" "${XMAS_RESOURCE_SCRIPT}" @ONLY)
set_source_files_properties("${XMAS_RESOURCE_SCRIPT}" PROPERTIES
                            OBJECT_DEPENDS "${XMAS_WINDOWS_ICON};${XMAS_MANIFEST}")

# An object library, so that a test program can carry the same resources as the game.
add_library(xmas_win32_resources OBJECT "${XMAS_RESOURCE_SCRIPT}")
target_link_libraries(xmas-tictactoe PRIVATE xmas_win32_resources)
