#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The browser stage of the test suite:
#   1. builds build/web/ (the page, the game in WebAssembly) and the unit suites in WebAssembly,
#      and runs those under Node;
#   2. builds the native reference program (preset ci) and plays the same scripted game in
#      headless Chromium, comparing the canvas with the native framebuffer;
#   3. serves the installed page from a host the test makes slow or faulty;
#   4. plays the game in WebKitGTK and Firefox ESR.
# Prints one line "web: N tests passed, M tests failed out of T" for scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH=/usr/share/nodejs
jobs=$(nproc)

cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
status=0
ctest --preset web || status=$?
unit_failed=$((status != 0))

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs" --target web_reference_game
# Runs one browser suite (Debian's Selenium lives in the system Python) and adds its counts;
# a suite that runs no test counts as one failure.
total=1 failed=$unit_failed
suite() {
  local log ran broken
  log=$(mktemp)
  /usr/bin/python3 "$@" 2>&1 | tee "$log" || status=$?
  ran=$(grep -Eo '^Ran [0-9]+' "$log" | grep -Eo '[0-9]+' || echo 0)
  broken=$(grep -Eo '(failures|errors)=[0-9]+' "$log" | grep -Eo '[0-9]+' | paste -sd+ - || true)
  rm -f "$log"
  total=$((total + ran))
  failed=$((failed + ${broken:-0} + (ran == 0)))
}
suite tests/web/browser_test.py build/web build/ci/web_reference_game
# 3. The installed page as a static host serves it: small, installable, playable offline.
suite tests/web/offline_test.py build/web build/ci
# 4. The same game in WebKit (WebKitGTK) and Gecko (Firefox ESR).
suite tests/web/engines_test.py build/web build/ci/web_reference_game
echo "web: $((total - failed)) tests passed, $failed tests failed out of $total"
exit "$status"
