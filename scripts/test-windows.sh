#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows stage of the test suite: cross-builds the game and the unit and headless tests
# with mingw-w64 (preset windows-tests), runs the tests under Wine and runs the Wine window
# tests (the game, the close button and idle CPU, the exe's resources and the window's icon)
# under Xvfb. The release zip is tested under Wine by the release stage
# (scripts/test-release.sh). All Wine processes share one prefix in a temporary folder, made
# before any timing.
# Ends with the line "windows: P passed, F failed".
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
passed=0
failed=0

source tests/windows/wine_env.sh
start_stage_prefix

cmake --preset windows-tests >/dev/null
cmake --build --preset windows-tests -j "$jobs"
# The window tests' X11 client, built for this machine.
tool=build/windows-tests/host-tools/x11_window_tool
mkdir -p "$(dirname "$tool")"
c++ -std=c++20 -O2 -DXMAS_HAVE_XTEST=1 tests/window/x11_window_tool.cpp -o "$tool" -lX11 -lXtst
wait "$boot" || { echo "wineboot failed" >&2; exit 1; }
wineserver -w

log=$(mktemp)
if ctest --preset windows-tests 2>&1 | tee "$log"; then :; fi
line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
rm -f "$log"
if [[ -z $line ]]; then
  failed=$((failed + 1))
else
  total=${line##* }
  failures=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - failures))
  failed=$((failed + failures))
fi

game=build/windows-tests/xmas-tictactoe.exe
stage_start=$SECONDS
for run in "wine_game_test.sh $game" "wine_close_test.sh $game" "wine_icon_test.sh $game"; do
  read -r script file <<<"$run"
  echo "--- $script"
  if timeout 180 bash "tests/windows/$script" "$file" "$tool"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $script" >&2
    failed=$((failed + 1))
  fi
done

echo "Wine window tests: $((SECONDS - stage_start)) s"
echo "windows: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
