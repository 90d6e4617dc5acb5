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
