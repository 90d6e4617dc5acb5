# SPDX-License-Identifier: MIT
# What the scripts (and the window tests) share: the source tree's root, the project's
# version, building a preset, running a test suite and counting its tests, the X11 client of
# the window tests, and the environment every Wine process runs in. Sourced; it changes no
# shell option and no folder by itself.

xmas_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=${jobs:-$(nproc)}

# Makes the source tree's root the working folder.
go_to_root() { cd "$xmas_root"; }

# The version in project(VERSION) of a CMakeLists.txt (default: the tree's own).
project_version() {
  sed -nE 's/^project\(xmas_tictactoe VERSION ([0-9.]+).*/\1/p' "${1:-$xmas_root/CMakeLists.txt}"
}

# build_preset PRESET [CONFIGURE OPTIONS...] [-- BUILD OPTIONS...]: configures the preset
# quietly, then builds it with $jobs jobs.
build_preset() {
  local preset=$1
  shift
  local configure=()
  while [[ $# -gt 0 && $1 != "--" ]]; do
    configure+=("$1")
    shift
  done
  [[ $# -gt 0 ]] && shift
  cmake --preset "$preset" "${configure[@]}" >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs" "$@"
}

# The counts of a stage's tests, added to by run_ctest, run_python_suite and count_check.
tests_passed=0
tests_failed=0

# count_check STATUS: one check that passed (0) or failed.
count_check() {
  if [[ $1 -eq 0 ]]; then
    tests_passed=$((tests_passed + 1))
  else
    tests_failed=$((tests_failed + 1))
  fi
}

# run_ctest PRESET [CTEST ARGUMENTS...]: runs the preset's tests with their output shown and
# adds their counts; ctest_line is ctest's own "N% tests passed, F tests failed out of T". A
# run without that line counts as one failed test. Returns ctest's status (1 without the line).
run_ctest() {
  local preset=$1
  shift
  local log status=0
  log=$(mktemp)
  ctest --preset "$preset" "$@" 2>&1 | tee "$log" || status=$?
  ctest_line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1 || true)
  rm -f "$log"
  if [[ -z $ctest_line ]]; then
    count_check 1
    return 1
  fi
  local total=${ctest_line##* } failures
  failures=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$ctest_line")
  tests_passed=$((tests_passed + total - failures))
  tests_failed=$((tests_failed + failures))
  return "$status"
}

# run_python_suite SCRIPT [ARGUMENTS...]: runs a unittest suite with the system's Python
# (Debian's Selenium lives there) with its output shown, and adds its counts; a suite that
# runs no test counts as one failed test. Returns the suite's status.
run_python_suite() {
  local log status=0 ran broken
  log=$(mktemp)
  /usr/bin/python3 "$@" 2>&1 | tee "$log" || status=$?
  ran=$(grep -Eo '^Ran [0-9]+' "$log" | grep -Eo '[0-9]+' || echo 0)
  broken=$(grep -Eo '(failures|errors)=[0-9]+' "$log" | grep -Eo '[0-9]+' | paste -sd+ - || true)
  rm -f "$log"
  broken=$((${broken:-0} + (ran == 0)))
  tests_passed=$((tests_passed + ran - (broken < ran ? broken : ran)))
  tests_failed=$((tests_failed + broken))
  return "$status"
}

# report_counts [--total] NAME: the stage's closing line that scripts/test.sh reads,
# "NAME: P passed, F failed", or with --total "NAME: P tests passed, F tests failed out of T".
report_counts() {
  if [[ $1 == --total ]]; then
    echo "$2: $tests_passed tests passed, $tests_failed tests failed out of" \
         "$((tests_passed + tests_failed))"
  else
    echo "$1: $tests_passed passed, $tests_failed failed"
  fi
}

# build_x11_tool OUTPUT: the window tests' X11 client, built for this machine alone.
build_x11_tool() {
  mkdir -p "$(dirname "$1")"
  c++ -std=c++20 -O2 -DXMAS_HAVE_XTEST=1 "$xmas_root/tests/window/x11_window_tool.cpp" \
    -o "$1" -lX11 -lXtst
}

# menu_shown TOOL WINDOW MILLISECONDS [SCALE]: waits until the game's window shows its menu
# (the pixel at 100, 100 of the board no longer black).
menu_shown() {
  local at=$((100 * ${4:-1}))
  "$1" waitpixel "$2" "$at" "$at" '!000000' "$3" >/dev/null
}

# The environment every Wine process of the tests and scripts runs in.
wine_environment() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
  # Wine converts Unix file names with the locale's character set. Without a UTF-8 locale (an
  # empty environment as in containers, or LANG=C) it cannot open a path holding an umlaut,
  # so such paths get the C.UTF-8 locale, which every Debian and Ubuntu system has. A
  # player's Windows needs nothing of the kind: this is the test machine's setting, not the
  # game's.
  if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LC_ALL=C.UTF-8
  fi
}

# For a script that runs many Wine programs: the Wine environment and a new temporary folder
# $work holding one Wine prefix, booted in the background ($boot: wait for it before timing
# anything). The prefix's server and the folder go when the script ends.
start_stage_prefix() {
  wine_environment
  work=$(mktemp -d)
  export WINEPREFIX="$work/wine prefix"
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
  wineboot -i >/dev/null 2>&1 &
  boot=$!
}
