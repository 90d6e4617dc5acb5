#!/bin/bash
# SPDX-License-Identifier: MIT
# The Win32 back-end moved to monitors of other pixels per inch, under Wine on a 2000 x 1400
# screen (tests/windows/win32_dpi_change.cpp).
#   wine_dpi_test.sh WIN32_DPI_CHANGE_EXE X11_TOOL
set -u
source "$(dirname "$0")/wine_common.sh"
start_xvfb 2000x1400
start_wine
wine "$GAME" --gtest_brief=1 || fail "the window did not follow the change of pixels per inch"
echo PASS
