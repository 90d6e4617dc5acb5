# SPDX-License-Identifier: MIT
# The browser build's page: index.html, xmas-tictactoe.js and .wasm, and the two pictures
# packed into xmas-tictactoe.data at /app, the folder ProgramDirectory names in the browser.

set(XMAS_WEB_PAGE "${CMAKE_CURRENT_SOURCE_DIR}/web/index.html")
target_link_options(xmas-tictactoe PRIVATE
  -sENVIRONMENT=web
  "SHELL:--preload-file ${XMAS_PICTURE_DIR}/Menu.Vadi@/app/Menu.Vadi"
  "SHELL:--preload-file ${XMAS_PICTURE_DIR}/Vadi.Vadi@/app/Vadi.Vadi")
set_property(TARGET xmas-tictactoe APPEND PROPERTY LINK_DEPENDS ${XMAS_PICTURES})

add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/index.html"
  COMMAND "${CMAKE_COMMAND}" -E copy "${XMAS_WEB_PAGE}" "${CMAKE_BINARY_DIR}/index.html"
  DEPENDS "${XMAS_WEB_PAGE}"
  VERBATIM)
add_custom_target(xmas_web_page ALL DEPENDS "${CMAKE_BINARY_DIR}/index.html")

# Emscripten's file packager writes a random package id into xmas-tictactoe.js on every link
# (it names the data file for an IndexedDB cache this page does not use): put one derived
# from the data file's contents in its place, so that the same sources give the same page.
add_custom_command(TARGET xmas-tictactoe POST_BUILD
  COMMAND "${CMAKE_COMMAND}" "-DSCRIPT=$<TARGET_FILE:xmas-tictactoe>"
          "-DDATA=$<TARGET_FILE_DIR:xmas-tictactoe>/xmas-tictactoe.data"
          -P "${CMAKE_CURRENT_LIST_DIR}/WebPackageId.cmake"
  VERBATIM)

# What a static web host needs, and nothing else: `cmake --install build/web --prefix FOLDER`
# fills FOLDER with exactly the files to serve (scripts/release.sh zips it). Every file the
# page loads is named here.
install(FILES "${CMAKE_BINARY_DIR}/index.html"
              "${CMAKE_BINARY_DIR}/xmas-tictactoe.js"
              "${CMAKE_BINARY_DIR}/xmas-tictactoe.wasm"
              "${CMAKE_BINARY_DIR}/xmas-tictactoe.data"
        DESTINATION .)
