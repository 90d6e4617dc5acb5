# SPDX-License-Identifier: MIT
# The browser build's page, a folder of static files:
#   index.html, xmas-tictactoe.js and .wasm   the page and the game
#   Menu.Vadi, Vadi.Vadi                       the two pictures, packed (Pictures.cmake);
#                                              web/page_files.js, part of xmas-tictactoe.js,
#                                              fetches them and holds them for the game by
#                                              their paths in /app, where ProgramDirectory
#                                              points: the menu's before the game starts, the
#                                              board's once the menu shows; LoadPicture
#                                              unpacks them
#   xmas-tictactoe.webmanifest, icon-192.png, icon-512.png   for a home screen
#   service-worker.js                          keeps the files for playing offline
# Packed, the pictures are 117 KB instead of 2.5 MB of BMP files.

# The page's program is built from copies of the layer, the game and the command line made
# without C++ exceptions, which the tests need (they unwind out of the game) and the page
# does not: the module and the script are a fifth smaller or more. Without them a failed
# allocation aborts the page's program where it happens, also in OpenScreen, whose catch of
# std::bad_alloc works only where exceptions are built in. A copy has its library's sources,
# include folders, definitions and compile options as they stand here, but -fexceptions.
function(xmas_page_copy library copy)
  get_target_property(sources ${library} SOURCES)
  add_library(${copy} STATIC ${sources})
  foreach(property INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES COMPILE_DEFINITIONS
                   COMPILE_FEATURES INTERFACE_LINK_OPTIONS)
    get_target_property(value ${library} ${property})
    if(value)
      set_property(TARGET ${copy} PROPERTY ${property} "${value}")
    endif()
  endforeach()
  xmas_without_exceptions(${copy})
endfunction()
function(xmas_without_exceptions target)
  foreach(property COMPILE_OPTIONS LINK_OPTIONS)
    get_target_property(options ${target} ${property})
    if(options)
      list(REMOVE_ITEM options -fexceptions)
      set_property(TARGET ${target} PROPERTY ${property} "${options}")
    endif()
  endforeach()
endfunction()
xmas_page_copy(xmas_layer xmas_page_layer)
xmas_page_copy(xmas_game xmas_page_game)
xmas_page_copy(xmas_command_line xmas_page_command_line)
target_link_libraries(xmas_page_game PUBLIC xmas_page_layer)
target_link_libraries(xmas_page_command_line PRIVATE xmas_page_layer)
target_link_libraries(xmas-tictactoe PRIVATE xmas_page_game xmas_page_command_line)
xmas_without_exceptions(xmas-tictactoe)

set(XMAS_WEB_SOURCE "${CMAKE_CURRENT_SOURCE_DIR}/web")
set(XMAS_WEB_PRE_JS "${XMAS_WEB_SOURCE}/page_files.js")
# -Oz at the link: Binaryen optimises the module for size (2% smaller than at -O3; -Oz when
# compiling makes it 10% larger, as less inlining leaves more calls for Asyncify to unwind).
# The page has no file system: it holds the picture files for the game itself
# (src/layer/browser/browser_picture_file.cpp), and stdout and stderr go to the console.
# emmalloc, Emscripten's small allocator, is enough for a game that allocates little.
# ASYNCIFY_IGNORE_INDIRECT: Asyncify instruments only the functions that reach a sleeping
# import (ASYNCIFY_IMPORTS, emscripten_sleep) by direct calls, and no call through a pointer
# (a virtual function, a std::function, a function pointer) may lie on such a path, or the
# sleep would not unwind through it. None does: the game sleeps in AwaitNextPass, SleepMs,
# the key wait and LoadPicture, all called directly down to the imports; the back-end's
# virtual functions, the window messages' std::function sinks, the BMP row converters and the
# exit handlers never sleep. Checked by linking with -sASYNCIFY_ADVISE --profiling-funcs: no
# function it names as one that can sleep lies in the module's function table. With it the
# module is a sixth smaller. Check again when a sleep is called from somewhere new.
target_link_options(xmas-tictactoe PRIVATE
  -sENVIRONMENT=web -Oz -sFILESYSTEM=0 -sMALLOC=emmalloc -sASYNCIFY_IGNORE_INDIRECT
  "SHELL:--pre-js ${XMAS_WEB_PRE_JS}")
set_property(TARGET xmas-tictactoe APPEND PROPERTY LINK_DEPENDS "${XMAS_WEB_PRE_JS}")
# The link writes the module beside the script: named, so that the service worker can wait for
# it. The script is then minified with Debian's terser (names too, but for Module, which the
# page's own script looks for): 32 KB become 21 KB. Its output depends only on its input.
find_program(XMAS_TERSER terser REQUIRED)
add_custom_command(TARGET xmas-tictactoe POST_BUILD
  COMMAND "${CMAKE_COMMAND}" -E env NODE_PATH=/usr/share/nodejs "${XMAS_TERSER}"
          "${CMAKE_BINARY_DIR}/xmas-tictactoe.js" --ecma 2017 --compress passes=2
          --mangle "toplevel,reserved=[Module]" --output "${CMAKE_BINARY_DIR}/xmas-tictactoe.js"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/xmas-tictactoe.wasm"
  VERBATIM)

# Copied as they are.
set(XMAS_WEB_STATIC index.html xmas-tictactoe.webmanifest)
set(XMAS_WEB_STATIC_OUTPUTS)
foreach(name IN LISTS XMAS_WEB_STATIC)
  add_custom_command(
    OUTPUT "${CMAKE_BINARY_DIR}/${name}"
    COMMAND "${CMAKE_COMMAND}" -E copy "${XMAS_WEB_SOURCE}/${name}" "${CMAKE_BINARY_DIR}/${name}"
    DEPENDS "${XMAS_WEB_SOURCE}/${name}"
    VERBATIM)
  list(APPEND XMAS_WEB_STATIC_OUTPUTS "${CMAKE_BINARY_DIR}/${name}")
endforeach()

# The files the service worker keeps: everything the page loads to start the game, and the
# small icon, which Chromium fetches with the manifest on every visit. The large one is fetched
# only for a home screen, and kept then.
set(XMAS_WEB_CACHED index.html xmas-tictactoe.js xmas-tictactoe.wasm Menu.Vadi Vadi.Vadi
                    xmas-tictactoe.webmanifest icon-192.png)
set(XMAS_WEB_HASHED ${XMAS_WEB_CACHED} icon-512.png)
set(XMAS_WEB_WORKER "${CMAKE_BINARY_DIR}/service-worker.js")
list(TRANSFORM XMAS_WEB_HASHED PREPEND "${CMAKE_BINARY_DIR}/" OUTPUT_VARIABLE XMAS_WEB_HASHED_PATHS)
add_custom_command(
  OUTPUT "${XMAS_WEB_WORKER}"
  COMMAND "${CMAKE_COMMAND}" "-DTEMPLATE=${XMAS_WEB_SOURCE}/service-worker.js.in"
          "-DOUTPUT=${XMAS_WEB_WORKER}" "-DDIR=${CMAKE_BINARY_DIR}"
          "-DCACHED=${XMAS_WEB_CACHED}" "-DHASHED=${XMAS_WEB_HASHED}"
          -P "${CMAKE_CURRENT_LIST_DIR}/WebServiceWorker.cmake"
  DEPENDS xmas-tictactoe ${XMAS_WEB_HASHED_PATHS} "${XMAS_WEB_SOURCE}/service-worker.js.in"
          "${CMAKE_CURRENT_LIST_DIR}/WebServiceWorker.cmake"
  COMMENT "Writing the service worker for the page's files"
  VERBATIM)
add_custom_target(xmas_web_page ALL DEPENDS ${XMAS_WEB_STATIC_OUTPUTS} "${XMAS_WEB_WORKER}")
add_dependencies(xmas_web_page xmas_pictures)

# What a static web host needs, and nothing else: `cmake --install build/web --prefix FOLDER`
# fills FOLDER with exactly the files to serve (scripts/release.sh zips it). Every file the
# page loads is named here.
set(XMAS_WEB_INSTALLED ${XMAS_WEB_HASHED} service-worker.js)
list(TRANSFORM XMAS_WEB_INSTALLED PREPEND "${CMAKE_BINARY_DIR}/")
install(FILES ${XMAS_WEB_INSTALLED} DESTINATION .)
