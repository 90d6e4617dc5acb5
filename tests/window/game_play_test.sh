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

"$TOOL" waitpixel "$WINDOW" 100 100 '!000000' 10000 >/dev/null || fail "the menu did not show"
menu_centre=$(pixel 325 325)

# A quick click on the top left corner chooses Christkind; the board replaces the menu.
xdotool mousemove --window "$WINDOW" 100 100 click 1
"$TOOL" waitpixel "$WINDOW" 325 325 "!$menu_centre" 10000 >/dev/null ||
  fail "the board did not show after a click on the menu corner"
sleep 0.5  # the computer may open with a ring

# A cell holds a ring when the ring's top pixel, 104 above the centre, is dark blue.
target=
for cell in 5 1 9 3 7; do
  cx=$((104 + (cell - 1) % 3 * 221))
  cy=$((104 + (cell - 1) / 3 * 221))
  if [ "$(pixel "$cx" $((cy - 104)))" != 0000aa ]; then
    target="$cx $cy"
    break
  fi
done
[ -n "$target" ] || fail "no free cell found"
read -r cx cy <<<"$target"
xdotool mousemove --window "$WINDOW" "$cx" "$cy" click 1
"$TOOL" waitpixel "$WINDOW" "$cx" "$cy" 000000 5000 >/dev/null ||
  fail "no cross appeared at ($cx, $cy)"

xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
echo PASS
