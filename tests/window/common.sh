# SPDX-License-Identifier: MIT
# Shared by the window test scripts: a private X server and helpers to wait on windows and
# output, and where the game draws its menu, cells and banner. Sourced with the game, the
# probe and the X11 tool as $1 $2 $3.

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

GAME=$1
PROBE=$2
TOOL=$3
WORK=$(mktemp -d)
XVFB_PID=
APP_PID=

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cleanup() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then kill "$APP_PID" 2>/dev/null; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

need() {
  for program in "$@"; do
    command -v "$program" >/dev/null || { echo "SKIP: $program is not installed"; exit 77; }
  done
}

# Starts Xvfb on a display number it picks itself and points DISPLAY at it. The screen is
# 1280x1024 unless another WIDTHxHEIGHT is given.
start_xvfb() {
  need Xvfb xdotool xwininfo
  # -noreset: by default the server resets (and compiles its keymap again with xkbcomp) each
  # time its last client leaves, and a connection that arrives during the reset is dropped.
  # The probe between "xdotool getdisplaygeometry" below and a find_window poll, or the game,
  # would then fail to open its window ("x11 not available"), the more often the busier the
  # CPU.
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" -nolisten tcp -noreset 3>"$WORK/display" \
    2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
  done
  [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$WORK/display")"
  unset WAYLAND_DISPLAY
  # The programs under test connect once and give up on failure: wait until the server answers.
  for _ in $(seq 200); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && return
    sleep 0.05
  done
  fail "Xvfb on $DISPLAY does not answer: $(cat "$WORK/xvfb.log")"
}

# Runs a program in the background with its output in $WORK/out and $WORK/err.
start_app() {
  "$@" >"$WORK/out" 2>"$WORK/err" &
  APP_PID=$!
}

# Waits for the started program to end and sets STATUS to its exit status (124 when it did
# not end in time).
wait_app() {
  local seconds=${1:-10}
  STATUS=124
  for _ in $(seq $((seconds * 20))); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      wait "$APP_PID"
      STATUS=$?
      return
    fi
    sleep 0.05
  done
}

# Prints the id of the top-level window with exactly this title once it is mapped.
find_window() {
  local title=$1
  for _ in $(seq 300); do
    local id
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return
    fi
    sleep 0.05
  done
  fail "no window titled $title; stderr: $(cat "$WORK/err")"
}

# Starts the window probe and waits until its window is up; sets WINDOW.
start_probe() {
  start_app "$PROBE"
  WINDOW=$(find_window window_probe) || exit 1
  expect_line 'ready sdl2-x11'
}

# Waits until the program's output holds a line matching the pattern (grep -x).
expect_line() {
  local pattern=$1
  for _ in $(seq 200); do
    grep -qx -- "$pattern" "$WORK/out" && return
    sleep 0.05
  done
  fail "expected a line '$pattern'; output was: $(tail -n 5 "$WORK/out" | tr '\n' '|')"
}

# The last line of the program's output that starts with a word.
last_line() { grep "^$1" "$WORK/out" | tail -n 1; }

# Waits until the last line starting with the line's first word is this line.
expect_last() {
  local line=$1
  for _ in $(seq 200); do
    [ "$(last_line "${line%% *}")" = "$line" ] && return
    sleep 0.05
  done
  fail "expected '$line', the last was '$(last_line "${line%% *}")'"
}

pixel() { "$TOOL" pixel "$WINDOW" "$1" "$2"; }

# How long the game may take to show its menu (Wine's tests give it longer).
MENU_MS=10000

# Waits until the game's window shows its menu, at the window's scale (default 1).
wait_for_menu() { menu_shown "$TOOL" "$WINDOW" "$MENU_MS" "${1:-1}" || fail "the menu did not show"; }

# choose_opponent X Y WHAT: clicks the menu at (X, Y) and waits until the board replaces it;
# WHAT names the corner for the failure.
choose_opponent() {
  local menu_centre
  menu_centre=$(pixel 325 325)
  xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
  "$TOOL" waitpixel "$WINDOW" 325 325 "!$menu_centre" 10000 >/dev/null ||
    fail "the board did not show after a click on $3"
}

# A cell's centre and the top pixel of a ring drawn in it (rings are 104 pixels in radius).
cell_x() { echo $((104 + ($1 - 1) % 3 * 221)); }
cell_y() { echo $((104 + ($1 - 1) / 3 * 221)); }
has_ring() {
  local colour
  colour=$(pixel "$(cell_x "$1")" $(($(cell_y "$1") - 104)))
  [ "$colour" = 0000aa ] || [ "$colour" = aa0000 ]
}
has_cross() { [ "$(pixel "$(cell_x "$1")" "$(cell_y "$1")")" = 000000 ]; }

# The centre "X Y" of the first of cells 5, 1, 9, 3 and 7 without a dark blue ring.
free_cell() {
  local cell
  for cell in 5 1 9 3 7; do
    if [ "$(pixel "$(cell_x $cell)" $(($(cell_y $cell) - 104)))" != 0000aa ]; then
      echo "$(cell_x $cell) $(cell_y $cell)"
      return
    fi
  done
  fail "no free cell found"
}

# The result banner: its first row's stars cover x 240..243 at y 303, whichever banner it is.
banner_shown() {
  for x in 240 241 242 243; do
    [ "$(pixel $x 303)" = 0000aa ] || return 1
  done
}
