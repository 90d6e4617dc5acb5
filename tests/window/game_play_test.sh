#!/bin/bash
# SPDX-License-Identifier: MIT
# The game in its real window: the menu shows, a corner click brings the board, a click on
# a free cell draws a black cross, and a key ends the program with status 0.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb

start_app "$GAME"
WINDOW=$(find_window xmas-tictactoe) || exit 1
geometry=$(xwininfo -id "$WINDOW")
grep -q 'Width: 651$' <<<"$geometry" || fail "drawing area is not 651 wide: $geometry"
grep -q 'Height: 651$' <<<"$geometry" || fail "drawing area is not 651 high: $geometry"
# Centred on the 1280 x 1024 screen.
grep -q 'Absolute upper-left X: *314$' <<<"$geometry" || fail "not centred: $geometry"
grep -q 'Absolute upper-left Y: *186$' <<<"$geometry" || fail "not centred: $geometry"

wait_for_menu

# A quick click on the top left corner chooses Christkind; the board replaces the menu.
choose_opponent 100 100 "the menu corner"
sleep 0.5  # the computer may open with a ring

# A cell holds a ring when the ring's top pixel, 104 above the centre, is dark blue.
target=$(free_cell) || exit 1
read -r cx cy <<<"$target"
xdotool mousemove --window "$WINDOW" "$cx" "$cy" click 1
"$TOOL" waitpixel "$WINDOW" "$cx" "$cy" 000000 5000 >/dev/null ||
  fail "no cross appeared at ($cx, $cy)"

xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
echo PASS
