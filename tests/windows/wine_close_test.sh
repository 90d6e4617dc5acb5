#!/bin/bash
# SPDX-License-Identifier: MIT
# The Windows game under Wine at rest and closed: the idle menu uses under 1% of a core, and
# the close button (WM_DELETE_WINDOW to Wine's X window) ends the program with status 0.
set -u
source "$(dirname "$0")/wine_common.sh"
start_xvfb
start_wine

start_app wine "$GAME"
WINDOW=$(find_window xmas-tictactoe)
"$TOOL" waitpixel "$WINDOW" 100 100 '!000000' 20000 >/dev/null || fail "the menu did not show"
sleep 1
# The game's own process and the prefix's wineserver, which carries its messages.
server=$(prefix_server)
[ -n "$server" ] || fail "no wineserver found for $WINEPREFIX"
before=$(( $(cpu_ticks "$APP_PID") + $(cpu_ticks "$server") ))
sleep 5
after=$(( $(cpu_ticks "$APP_PID") + $(cpu_ticks "$server") ))
ticks_per_second=$(getconf CLK_TCK)
# Per mille of one core over the 5 s.
use=$(( (after - before) * 1000 / (5 * ticks_per_second) ))
echo "idle CPU at the menu: $((use / 10)).$((use % 10)) % of a core"
[ "$use" -lt 10 ] || fail "the idle menu used $((use / 10)).$((use % 10)) % of a core"

"$TOOL" close "$WINDOW" || fail "could not ask the window to close"
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after the close button"
echo PASS
