#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, then builds and runs the whole test suite:
#   1. an optimised build with warnings as errors: unit and headless tests, the pictures,
#      and the real window under Xvfb;
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build of the unit and headless tests;
#   3. ThreadSanitizer build of the same (they run the window thread beside the game's thread);
#   4. a bounded fuzzing run of the picture loader;
#   5. the Windows build, cross-compiled with mingw-w64, with its tests and the game
#      under Wine (scripts/test-windows.sh);
#   6. the browser build: unit suites in WebAssembly under Node, the game in headless
#      Chromium (scripts/test-web.sh);
#   7. the release (scripts/test-release.sh): every release file made twice, in two folders,
#      with the same bytes; the Debian package's validators, lintian and the installed game
#      under Xvfb (scripts/test-package.sh), the Windows zip under Wine and the browser zip in
#      headless Chromium.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
scripts/setup.sh --tests

summary=()
started=$SECONDS

# Builds a preset (optionally only some targets) and runs its tests; ctest arguments follow --.
run_suite() {
  local preset=$1
  shift
  local targets=()
  while [[ $# -gt 0 && $1 != "--" ]]; do
    targets+=(--target "$1")
    shift
  done
  [[ $# -gt 0 ]] && shift
  local stage_start=$SECONDS
  build_preset "$preset" -- "${targets[@]}"
  if ! run_ctest "$preset" -j "$jobs" "$@"; then
    echo "test suite '$preset' failed" >&2
    exit 1
  fi
  summary+=("$preset: $ctest_line ($((SECONDS - stage_start)) s)")
}

run_suite ci
run_suite asan xmas_tests -- -L unit
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_suite tsan xmas_tests -- -L unit
fuzz_start=$SECONDS
scripts/fuzz.sh 60
summary+=("fuzz: $((SECONDS - fuzz_start)) s")

# Runs a stage script that ends with the line "<name>: P passed, F failed" or
# "<name>: P tests passed, F tests failed out of N", and counts its tests.
run_stage() {
  local name=$1 script=$2
  local stage_start=$SECONDS log status=0 line
  log=$(mktemp)
  "$script" 2>&1 | tee "$log" || status=$?
  line=$(grep -E "^$name: [0-9]+ (tests )?passed, [0-9]+ (tests )?failed" "$log" | tail -1 || true)
  rm -f "$log"
  if [[ $status -ne 0 || -z $line ]]; then
    echo "test suite '$name' failed" >&2
    exit 1
  fi
  local stage_passed stage_failed
  stage_passed=$(sed -E "s/^$name: ([0-9]+) .*/\1/" <<<"$line")
  stage_failed=$(sed -E 's/.*, ([0-9]+) (tests )?failed.*/\1/' <<<"$line")
  tests_passed=$((tests_passed + stage_passed))
  tests_failed=$((tests_failed + stage_failed))
  summary+=("$line ($((SECONDS - stage_start)) s)")
}

run_stage windows scripts/test-windows.sh
run_stage web scripts/test-web.sh
run_stage release scripts/test-release.sh

echo
echo "Summary ($((SECONDS - started)) s)"
printf '  %s\n' "${summary[@]}"
report_counts tests
