#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite:
#   1. an optimised build with warnings as errors: unit, headless and real-window tests;
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build: unit and headless tests;
#   3. ThreadSanitizer build: the tests that run the window thread beside the game's thread;
#   4. a bounded fuzzing run of the picture loader.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

jobs=$(nproc)
summary=()
run_suite() {  # preset, extra ctest arguments...
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  local log
  log=$(mktemp)
  if ! ctest --preset "$preset" -j "$jobs" "$@" 2>&1 | tee "$log"; then
    echo "test suite '$preset' failed" >&2
    exit 1
  fi
  summary+=("$preset: $(grep -E 'tests passed' "$log" | tail -1)")
  rm -f "$log"
}

run_suite ci
run_suite asan -LE window
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_suite tsan -LE window
if [[ -x scripts/fuzz.sh ]]; then
  scripts/fuzz.sh 60
fi

echo
echo "Summary"
printf '  %s\n' "${summary[@]}"
