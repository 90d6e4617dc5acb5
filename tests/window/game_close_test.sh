#!/bin/bash
# SPDX-License-Identifier: MIT
# The window's close button (a WM_DELETE_WINDOW request) reaches the game as a key, which
# ends it from the menu with status 0.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb

start_app "$GAME"
WINDOW=$(find_window xmas-tictactoe) || exit 1
wait_for_menu
"$TOOL" close "$WINDOW" || fail "could not send the close request"
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after the close request"
[ ! -s "$WORK/err" ] || fail "unexpected output on stderr: $(cat "$WORK/err")"
echo PASS
