#!/bin/bash
# SPDX-License-Identifier: MIT
# The window itself: title, size, place, the pixels it shows (top byte ignored), the close
# button that leaves it open, and the repaint after it was hidden.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb

start_probe
geometry=$(xwininfo -id "$WINDOW")
grep -q 'Width: 651$' <<<"$geometry" || fail "drawing area is not 651 wide: $geometry"
grep -q 'Height: 651$' <<<"$geometry" || fail "drawing area is not 651 high: $geometry"
grep -q 'Absolute upper-left X: *314$' <<<"$geometry" || fail "not centred: $geometry"
grep -q 'Absolute upper-left Y: *186$' <<<"$geometry" || fail "not centred: $geometry"

check_picture() {
  "$TOOL" waitpixel "$WINDOW" 0 0 ffffff 5000 >/dev/null ||
    fail "$1: top left pixel is $(pixel 0 0), expected ffffff"
  [ "$(pixel 325 10)" = 000000 ] || fail "$1: row 10 shows $(pixel 325 10), expected black"
  [ "$(pixel 600 20)" = 123456 ] || fail "$1: row 20 shows $(pixel 600 20)"
  [ "$(pixel 650 650)" = abcdef ] || fail "$1: the last pixel shows $(pixel 650 650)"
  [ "$(pixel 650 649)" = ffffff ] || fail "$1: pixel (650, 649) shows $(pixel 650 649)"
}
check_picture "after opening"

# The close button asks; the window stays and the request arrives as the close key.
"$TOOL" close "$WINDOW" || fail "could not send the close request"
expect_line 'key 255 107'
sleep 0.2
xwininfo -id "$WINDOW" | grep -q 'Map State: IsViewable' || fail "the close request closed the window"
check_picture "after the close request"

# Hidden and shown again, the window is repainted whole.
xdotool windowunmap --sync "$WINDOW"
xdotool windowmap --sync "$WINDOW"
check_picture "after being shown again"

xdotool windowfocus "$WINDOW"
xdotool key q
wait_app
[ "$STATUS" = 0 ] || fail "ended with status $STATUS"
echo PASS
