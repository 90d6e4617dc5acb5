#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows stage of the test suite: cross-builds the game and the unit and headless tests
# with mingw-w64 (preset windows-tests), runs the tests under Wine and runs the Wine window
# tests (the game, the close button and idle CPU, the exe's resources and the window's icon,
# the window moved to monitors of other pixels per inch) under Xvfb. The release zip is tested
# under Wine by the release stage (scripts/test-release.sh). All Wine processes share one
# prefix in a temporary folder, made before any timing.
# Ends with the line "windows: P passed, F failed".
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
start_stage_prefix

build_preset windows-tests
# The window tests' X11 client, built for this machine.
tool=build/windows-tests/host-tools/x11_window_tool
build_x11_tool "$tool"
wait "$boot" || { echo "wineboot failed" >&2; exit 1; }
wineserver -w

run_ctest windows-tests || true

game=build/windows-tests/xmas-tictactoe.exe
stage_start=$SECONDS
for run in "wine_game_test.sh $game" "wine_close_test.sh $game" "wine_icon_test.sh $game" \
           "wine_dpi_test.sh build/windows-tests/tests/win32_dpi_change.exe"; do
  read -r script file <<<"$run"
  echo "--- $script"
  status=0
  timeout 180 bash "tests/windows/$script" "$file" "$tool" || status=$?
  [[ $status -eq 0 ]] || echo "FAILED: $script" >&2
  count_check "$status"
done

echo "Wine window tests: $((SECONDS - stage_start)) s"
report_counts windows
[[ $tests_failed -eq 0 ]]
