#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The browser stage of the test suite:
#   1. builds build/web/ (the page, the game in WebAssembly) and the unit suites in WebAssembly,
#      and runs those under Node;
#   2. builds the native reference program (preset ci) and plays the same scripted game in
#      headless Chromium, comparing the canvas with the native framebuffer.
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
log=$(mktemp)
# Debian's Selenium lives in the system Python.
/usr/bin/python3 tests/web/browser_test.py build/web build/ci/web_reference_game 2>&1 | tee "$log" \
  || status=$?
browser_ran=$(grep -Eo '^Ran [0-9]+' "$log" | grep -Eo '[0-9]+' || echo 0)
browser_failed=0
for count in $(grep -Eo '(failures|errors)=[0-9]+' "$log" | grep -Eo '[0-9]+' || true); do
  browser_failed=$((browser_failed + count))
done
if [[ $browser_ran -eq 0 ]]; then browser_failed=1; fi  # the browser tests did not run
rm -f "$log"
total=$((1 + browser_ran))
failed=$((unit_failed + browser_failed))
# 3. The installed page as a static host serves it: small, installable, playable offline.
log=$(mktemp)
/usr/bin/python3 tests/web/offline_test.py build/web build/ci 2>&1 | tee "$log" || status=$?
offline_ran=$(grep -Eo '^Ran [0-9]+' "$log" | grep -Eo '[0-9]+' || echo 0)
offline_failed=$(grep -Eo '(failures|errors)=[0-9]+' "$log" | grep -Eo '[0-9]+' | paste -sd+ - || true)
rm -f "$log"
total=$((total + offline_ran))
failed=$((failed + ${offline_failed:-0} + (offline_ran == 0)))
echo "web: $((total - failed)) tests passed, $failed tests failed out of $total"
exit "$status"
