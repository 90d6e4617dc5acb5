# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, so that
# std::thread and std::mutex work). Programs built here run under Wine for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(XMAS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${XMAS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${XMAS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${XMAS_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${XMAS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
find_program(XMAS_WINE wine)
if(XMAS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${XMAS_WINE})
endif()
