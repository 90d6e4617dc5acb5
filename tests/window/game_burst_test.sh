#!/bin/bash
# SPDX-License-Identifier: MIT
# After a burst of input (2,000 pointer moves, 200 right clicks and 100 left clicks in 0.7 s)
# the game keeps up: the next click on a free cell shows its cross, and the next key ends
# the game, each within 100 ms. Prints both times.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb
"$TOOL" 2>&1 | grep -q burst || { echo "SKIP: the X11 tool cannot send bursts"; exit 77; }

start_app "$GAME"
WINDOW=$(find_window xmas-tictactoe) || exit 1
wait_for_menu
choose_opponent 100 100 "Christkind's corner"
sleep 0.5  # the computer may open with a ring

# The left clicks of the burst land in the gap between cells 1 and 2, which is no cell.
"$TOOL" burst "$WINDOW" 215 100 || fail "the burst could not be sent"

target=$(free_cell) || exit 1
read -r cx cy <<<"$target"
click_ms=$("$TOOL" clickwait "$WINDOW" "$cx" "$cy" 000000 5000) ||
  fail "no cross within 5 s of the click at ($cx, $cy) after the burst"

start=$(date +%s%N)
xdotool key x
ended=
for _ in $(seq 1000); do
  kill -0 "$APP_PID" 2>/dev/null || { ended=$(date +%s%N); break; }
  sleep 0.002
done
[ -n "$ended" ] || fail "the game did not end within seconds of a key after the burst"
key_ms=$(((ended - start) / 1000000))
wait "$APP_PID"
echo "after the burst: click to cross ${click_ms} ms, key to end ${key_ms} ms"
awk -v c="$click_ms" 'BEGIN { exit !(c < 100) }' || fail "the cross took ${click_ms} ms"
[ "$key_ms" -lt 100 ] || fail "the key took ${key_ms} ms to end the game"
echo PASS
