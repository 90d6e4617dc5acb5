# SPDX-License-Identifier: MIT
# The game's two pictures, Menu.Vadi and Vadi.Vadi, are drawn at build time by a small host
# tool and placed beside the game's executable (and installed beside it).

if(XMAS_BROWSER)
  # The browser build draws its pictures with make_pictures built for this machine, then packs
  # them into the page's data file (cmake/Web.cmake).
  include(ExternalProject)
  set(XMAS_HOST_TOOLS "${CMAKE_BINARY_DIR}/host_tools")
  ExternalProject_Add(host_tools
    SOURCE_DIR "${CMAKE_CURRENT_SOURCE_DIR}/cmake/host_tools"
    BINARY_DIR "${XMAS_HOST_TOOLS}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release "-DXMAS_SOURCE_ROOT=${CMAKE_CURRENT_SOURCE_DIR}"
               -DCMAKE_TOOLCHAIN_FILE= -DCMAKE_CROSSCOMPILING_EMULATOR=
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS "${XMAS_HOST_TOOLS}/make_pictures")
  set(XMAS_PICTURE_DIR "${CMAKE_BINARY_DIR}/pictures")
  set(XMAS_PICTURES "${XMAS_PICTURE_DIR}/Menu.Vadi" "${XMAS_PICTURE_DIR}/Vadi.Vadi")
  add_custom_command(
    OUTPUT ${XMAS_PICTURES}
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${XMAS_PICTURE_DIR}"
    COMMAND "${XMAS_HOST_TOOLS}/make_pictures" "${XMAS_PICTURE_DIR}"
    DEPENDS host_tools "${XMAS_HOST_TOOLS}/make_pictures"
    COMMENT "Drawing the pictures Menu.Vadi and Vadi.Vadi"
    VERBATIM)
  add_custom_target(xmas_pictures ALL DEPENDS ${XMAS_PICTURES})
  add_dependencies(xmas-tictactoe xmas_pictures)
  return()
endif()

set(XMAS_SOURCE_ROOT "${CMAKE_CURRENT_SOURCE_DIR}")
include(cmake/MakePicturesTool.cmake)

# The directory that holds the game's executable. Custom command outputs may not name targets in
# generator expressions, so it is worked out the way CMake places the executable itself.
get_target_property(XMAS_PICTURE_DIR xmas-tictactoe RUNTIME_OUTPUT_DIRECTORY)
if(NOT XMAS_PICTURE_DIR)
  set(XMAS_PICTURE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
endif()
get_property(XMAS_MULTI_CONFIG GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
if(XMAS_MULTI_CONFIG AND NOT XMAS_PICTURE_DIR MATCHES [[\$<]])
  string(APPEND XMAS_PICTURE_DIR "/$<CONFIG>")
endif()
set(XMAS_PICTURES "${XMAS_PICTURE_DIR}/Menu.Vadi" "${XMAS_PICTURE_DIR}/Vadi.Vadi")

add_custom_command(
  OUTPUT ${XMAS_PICTURES}
  COMMAND make_pictures "${XMAS_PICTURE_DIR}"
  DEPENDS make_pictures
  COMMENT "Drawing the pictures Menu.Vadi and Vadi.Vadi"
  VERBATIM)
add_custom_target(xmas_pictures ALL DEPENDS ${XMAS_PICTURES})
add_dependencies(xmas-tictactoe xmas_pictures)

install(FILES ${XMAS_PICTURES} DESTINATION bin)

if(XMAS_TESTS)
  enable_testing()
  # The board's grid bars lie exactly in the gaps between the cells, the cells stay light, the
  # opponents' cards and names stay inside their click corners, and the BMP layout is right.
  add_test(NAME pictures_check COMMAND make_pictures --check)
  set_tests_properties(pictures_check PROPERTIES LABELS pictures)
endif()
