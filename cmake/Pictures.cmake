# The game's two pictures, Menu.Vadi and Vadi.Vadi, are drawn at build time by a small host
# tool and placed beside the game's executable (and installed beside it).

add_executable(make_pictures
  tools/make_pictures.cpp
  tools/pictures/bmp.cpp
  tools/pictures/board.cpp
  tools/pictures/canvas.cpp
  tools/pictures/check.cpp
  tools/pictures/figures.cpp
  tools/pictures/font_glyphs.cpp
  tools/pictures/icon.cpp
  tools/pictures/menu.cpp
  tools/pictures/text.cpp)
target_include_directories(make_pictures PRIVATE tools)
target_compile_features(make_pictures PRIVATE cxx_std_20)
# Drawing takes a few seconds unoptimised (far more under sanitizers): always optimise the tool.
target_compile_options(make_pictures PRIVATE $<$<CXX_COMPILER_ID:GNU,Clang>:-O2>)

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

install(FILES ${XMAS_PICTURES} DESTINATION "${XMAS_INSTALL_PRIVATEDIR}")

if(XMAS_TESTS)
  enable_testing()
  # The board's grid bars lie exactly in the gaps between the cells, the cells stay light, the
  # opponents' cards and names stay inside their click corners, and the BMP layout is right.
  add_test(NAME pictures_check COMMAND make_pictures --check)
  set_tests_properties(pictures_check PROPERTIES LABELS pictures)
endif()
