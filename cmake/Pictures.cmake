# SPDX-License-Identifier: MIT
# The game's two pictures, Menu.Vadi and Vadi.Vadi, are drawn at build time by a small host
# tool and placed beside the game's executable (and installed beside it). The browser build
# has the tool write them as packed pictures beside its page instead, with the page's icons
# (cmake/Web.cmake).

include(${CMAKE_CURRENT_LIST_DIR}/MakePicturesSources.cmake)
if(CMAKE_CROSSCOMPILING)
  # The tool runs here, on the build machine: build it natively, apart from the cross build.
  include(ExternalProject)
  set(XMAS_HOST_TOOLS "${CMAKE_CURRENT_BINARY_DIR}/host-tools")
  set(XMAS_MAKE_PICTURES "${XMAS_HOST_TOOLS}/build/make_pictures")
  ExternalProject_Add(host_make_pictures
    SOURCE_DIR "${CMAKE_CURRENT_SOURCE_DIR}/tools/host"
    PREFIX "${XMAS_HOST_TOOLS}"
    BINARY_DIR "${XMAS_HOST_TOOLS}/build"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE= -DCMAKE_CROSSCOMPILING_EMULATOR=
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS "${XMAS_MAKE_PICTURES}")
  set(XMAS_MAKE_PICTURES_DEPENDS host_make_pictures "${XMAS_MAKE_PICTURES}")
else()
  add_executable(make_pictures ${XMAS_MAKE_PICTURES_SOURCES})
  target_include_directories(make_pictures PRIVATE tools src)
  target_compile_features(make_pictures PRIVATE cxx_std_20)
  # Drawing takes a few seconds unoptimised (far more under sanitizers): always optimise it.
  target_compile_options(make_pictures PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-O2>)
  set(XMAS_MAKE_PICTURES make_pictures)
  set(XMAS_MAKE_PICTURES_DEPENDS make_pictures)
endif()

if(XMAS_BROWSER)
  set(XMAS_PICTURE_DIR "${CMAKE_BINARY_DIR}")
  set(XMAS_MAKE_PICTURES_MODE --web)
  set(XMAS_PICTURES "${XMAS_PICTURE_DIR}/Menu.Vadi" "${XMAS_PICTURE_DIR}/Vadi.Vadi"
                    "${XMAS_PICTURE_DIR}/icon-192.png" "${XMAS_PICTURE_DIR}/icon-512.png")
else()
  # The directory that holds the game's executable. Custom command outputs may not name
  # targets in generator expressions, so it is worked out the way CMake places the executable.
  get_target_property(XMAS_PICTURE_DIR xmas-tictactoe RUNTIME_OUTPUT_DIRECTORY)
  if(NOT XMAS_PICTURE_DIR)
    set(XMAS_PICTURE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  get_property(XMAS_MULTI_CONFIG GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(XMAS_MULTI_CONFIG AND NOT XMAS_PICTURE_DIR MATCHES [[\$<]])
    string(APPEND XMAS_PICTURE_DIR "/$<CONFIG>")
  endif()
  set(XMAS_MAKE_PICTURES_MODE)
  set(XMAS_PICTURES "${XMAS_PICTURE_DIR}/Menu.Vadi" "${XMAS_PICTURE_DIR}/Vadi.Vadi")
endif()

add_custom_command(
  OUTPUT ${XMAS_PICTURES}
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${XMAS_PICTURE_DIR}"
  COMMAND ${XMAS_MAKE_PICTURES} ${XMAS_MAKE_PICTURES_MODE} "${XMAS_PICTURE_DIR}"
  DEPENDS ${XMAS_MAKE_PICTURES_DEPENDS}
  COMMENT "Drawing the pictures Menu.Vadi and Vadi.Vadi"
  VERBATIM)
add_custom_target(xmas_pictures ALL DEPENDS ${XMAS_PICTURES})
add_dependencies(xmas-tictactoe xmas_pictures)
if(XMAS_BROWSER)
  return()
endif()

install(FILES ${XMAS_PICTURES} DESTINATION "${XMAS_INSTALL_PRIVATEDIR}")

# The window's own icon, drawn from the same art as the desktop icons: on Windows an .ico
# file for the executable's resources (cmake/WindowsResources.cmake), elsewhere a data table
# that the SDL back-end hands to the window.
if(WIN32)
  set(XMAS_WINDOWS_ICON "${CMAKE_CURRENT_BINARY_DIR}/xmas-tictactoe.ico")
  add_custom_command(
    OUTPUT "${XMAS_WINDOWS_ICON}"
    COMMAND ${XMAS_MAKE_PICTURES} --ico "${XMAS_WINDOWS_ICON}"
    DEPENDS ${XMAS_MAKE_PICTURES_DEPENDS}
    COMMENT "Drawing the Windows icon"
    VERBATIM)
else()
  set(XMAS_WINDOW_ICON_TABLE "${CMAKE_CURRENT_BINARY_DIR}/generated/window_icon_pixels.cpp")
  add_custom_command(
    OUTPUT "${XMAS_WINDOW_ICON_TABLE}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/generated"
    COMMAND ${XMAS_MAKE_PICTURES} --icon-table "${XMAS_WINDOW_ICON_TABLE}"
    DEPENDS ${XMAS_MAKE_PICTURES_DEPENDS}
    COMMENT "Drawing the window icon"
    VERBATIM)
  target_sources(xmas_layer PRIVATE "${XMAS_WINDOW_ICON_TABLE}")
endif()

if(XMAS_TESTS)
  enable_testing()
  # The board's grid bars lie exactly in the gaps between the cells, the cells stay light, the
  # opponents' cards and names stay inside their click corners, and the BMP layout is right.
  add_test(NAME pictures_check COMMAND ${XMAS_MAKE_PICTURES} --check)
  set_tests_properties(pictures_check PROPERTIES LABELS pictures)
endif()
