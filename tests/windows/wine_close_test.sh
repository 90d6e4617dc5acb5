#!/bin/bash
# SPDX-License-Identifier: MIT
# The Windows game under Wine at rest and closed: the idle menu uses under 1% of a core (the
# wakes of its threads are reported beside it: each is a round trip to Wine's server, and
# Wine's own threads in the process make them too noisy for a limit), and the close button
# (WM_DELETE_WINDOW to Wine's X window) ends the program with status 0.
set -u
source "$(dirname "$0")/wine_common.sh"
start_xvfb
start_wine

start_app wine "$GAME"
WINDOW=$(find_window xmas-tictactoe)
wait_for_menu
sleep 1
grep -q '^xmas-tictactoe' "/proc/$APP_PID/comm" || fail "process $APP_PID is not the game"
# The game's own process, which alone is held to the limit; the prefix's wineserver, which
# carries its messages but also serves Wine's own services, is reported beside it.
server=$(prefix_server)
server_ticks() { if [ -n "$server" ]; then cpu_ticks "$server"; else echo 0; fi; }
# Times the game's threads have given up the processor to wait, all threads together.
wakes() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^voluntary_ctxt_switches/ {n += $2} END {print n + 0}'
}
wakes_before=$(wakes "$APP_PID")
game_before=$(cpu_ticks "$APP_PID")
server_before=$(server_ticks)
sleep 10
per_mille() { echo $((($1) * 1000 / (10 * $(getconf CLK_TCK)))); }
game=$(per_mille "$(cpu_ticks "$APP_PID") - game_before")
wine_server=$(per_mille "$(server_ticks) - server_before")
wakes_per_second=$((($(wakes "$APP_PID") - wakes_before) / 10))
echo "idle CPU at the menu: game $((game / 10)).$((game % 10)) %," \
     "wineserver $((wine_server / 10)).$((wine_server % 10)) % of a core"
echo "wakes of the game's threads at the menu: $wakes_per_second a second"
[ "$game" -lt 10 ] || fail "the idle menu used $((game / 10)).$((game % 10)) % of a core"

"$TOOL" close "$WINDOW" || fail "could not ask the window to close"
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after the close button"
echo PASS
