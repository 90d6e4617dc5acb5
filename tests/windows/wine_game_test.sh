#!/bin/bash
# SPDX-License-Identifier: MIT
# The Windows game under Wine: the window's title and size, the menu, Knecht Ruprecht's
# board with his ring in the centre, a cross where the person clicks, and a key ending the
# program with status 0; the command line answers --version. Prints the launch-to-menu time and the click-to-cross latency.
set -u
source "$(dirname "$0")/wine_common.sh"
start_xvfb
start_wine

expected=$(project_version)
version=$(wine "$GAME" --version 2>/dev/null) || fail "--version did not end with status 0"
[ "${version%$'\r'}" = "xmas-tictactoe $expected" ] || fail "--version printed '$version'"

started=$(now_ms)
start_app wine "$GAME"
WINDOW=$(find_window xmas-tictactoe)
geometry=$(xwininfo -id "$WINDOW")
grep -q 'Width: 651$' <<<"$geometry" || fail "drawing area is not 651 wide: $geometry"
grep -q 'Height: 651$' <<<"$geometry" || fail "drawing area is not 651 high: $geometry"
wait_for_menu
echo "launch to first menu frame: $(($(now_ms) - started)) ms"

# Knecht Ruprecht sits in the top right corner.
choose_opponent 550 100 "Knecht Ruprecht's corner"
sleep 0.5  # he may open, and then in the centre

# Whoever began, after the person's cross in a corner his ring stands in the centre.
latency=$("$TOOL" clickwait "$WINDOW" "$(cell_x 1)" "$(cell_y 1)" 000000 5000) ||
  fail "no cross appeared in cell 1"
echo "click-to-cross latency: $latency ms"
for _ in $(seq 50); do has_ring 5 && break; sleep 0.1; done
has_ring 5 || fail "no ring in cell 5"

xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
echo PASS
