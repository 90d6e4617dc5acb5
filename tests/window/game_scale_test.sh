#!/bin/bash
# SPDX-License-Identifier: MIT
# The window enlarged by a whole factor: at --scale 2 the drawing area is 1302 x 1302, every
# pixel of the scale-1 window fills a 2 x 2 square of it, and clicks land where they would at
# scale 1. On a screen too small for the asked scale the window is made smaller.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb 2000x1400

start_app "$GAME"
WINDOW=$(find_window xmas-tictactoe) || exit 1
wait_for_menu
"$TOOL" shot "$WINDOW" "$WORK/scale1.ppm" || fail "cannot read the scale-1 window"
xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS"

start_app "$GAME" --scale 2
WINDOW=$(find_window xmas-tictactoe) || exit 1
geometry=$(xwininfo -id "$WINDOW")
grep -q 'Width: 1302$' <<<"$geometry" || fail "not 1302 wide at scale 2: $geometry"
grep -q 'Height: 1302$' <<<"$geometry" || fail "not 1302 high at scale 2: $geometry"
wait_for_menu 2
"$TOOL" samescaled "$WINDOW" "$WORK/scale1.ppm" 2 ||
  fail "the scale-2 menu is not the scale-1 menu enlarged"

menu_centre=$(pixel 650 650)
# (200, 600) is Engel's corner only when the position is not divided by 2; (1200, 200) is
# Knecht Ruprecht's only when it is.
xdotool mousemove --window "$WINDOW" 200 600 click 1
sleep 0.5
[ "$(pixel 650 650)" = "$menu_centre" ] || fail "a click outside every corner chose an opponent"
xdotool mousemove --window "$WINDOW" 1200 200 click 1
"$TOOL" waitpixel "$WINDOW" 650 650 "!$menu_centre" 10000 >/dev/null ||
  fail "a click on the top right corner chose no opponent"
sleep 0.5  # the computer may open with a ring

# A cross in a free cell: its ends land in the cell's corners, twice as far out.
for cell in 5 1 9 3 7; do
  cx=$(cell_x $cell)
  cy=$(cell_y $cell)
  [ "$(pixel $((2 * cx)) $((2 * (cy - 104))))" != 0000aa ] && break
done
xdotool mousemove --window "$WINDOW" $((2 * cx + 1)) $((2 * cy + 1)) click 1
"$TOOL" waitpixel "$WINDOW" $((2 * cx)) $((2 * cy)) 000000 5000 >/dev/null ||
  fail "no cross appeared in the cell at ($cx, $cy)"
x0=$((2 * (cx - 104)))
y0=$((2 * (cy - 104)))
for corner in "$x0 $y0" "$((x0 + 417)) $((y0 + 417))" "$((x0 + 1)) $((y0 + 416))"; do
  read -r x y <<<"$corner"
  [ "$(pixel "$x" "$y")" = 000000 ] || fail "the cross does not reach ($x, $y)"
done
xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS"

# The environment's scale, lowered to fit the 2000x1400 screen: 3 would need 1953 rows.
XMAS_TICTACTOE_SCALE=3 "$GAME" >"$WORK/out" 2>"$WORK/err" &
APP_PID=$!
WINDOW=$(find_window xmas-tictactoe) || exit 1
grep -q 'Height: 1302$' <<<"$(xwininfo -id "$WINDOW")" ||
  fail "XMAS_TICTACTOE_SCALE=3 on a 1400-row screen did not give scale 2"
xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS"
echo PASS
