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
source "$(dirname "$0")/lib.sh"
go_to_root
export NODE_PATH=/usr/share/nodejs

build_preset web
status=0
run_ctest web || status=$?

build_preset ci -- --target web_reference_game
# The browser suites; a suite that runs no test counts as one failure.
run_python_suite tests/web/browser_test.py build/web build/ci/web_reference_game || status=$?
# 3. The installed page as a static host serves it: small, installable, playable offline.
run_python_suite tests/web/offline_test.py build/web build/ci || status=$?
# 4. The same game in WebKit (WebKitGTK) and Gecko (Firefox ESR).
run_python_suite tests/web/engines_test.py build/web build/ci/web_reference_game || status=$?
report_counts --total web
exit "$status"
