#!/bin/bash
# SPDX-License-Identifier: MIT
# Without any display the program names the cause in one line on stderr and ends with 1.
set -u
source "$(dirname "$0")/common.sh"

mkdir "$WORK/runtime"
chmod 700 "$WORK/runtime"
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u SDL_VIDEODRIVER \
  XDG_RUNTIME_DIR="$WORK/runtime" timeout 10 "$GAME" >"$WORK/out" 2>"$WORK/err"
status=$?
[ "$status" = 1 ] || fail "exit status $status, expected 1"
lines=$(wc -l <"$WORK/err")
[ "$lines" = 1 ] || fail "expected one line on stderr, got $lines: $(cat "$WORK/err")"
grep -q '[[:alpha:]]' "$WORK/err" || fail "the stderr line says nothing"
[ ! -s "$WORK/out" ] || fail "unexpected output on stdout: $(cat "$WORK/out")"

# Nor does it print anything else when even the runtime directory is missing.
env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u SDL_VIDEODRIVER -u XDG_RUNTIME_DIR \
  timeout 10 "$GAME" >"$WORK/out" 2>"$WORK/err"
status=$?
[ "$status" = 1 ] || fail "exit status $status without XDG_RUNTIME_DIR, expected 1"
lines=$(wc -l <"$WORK/err")
[ "$lines" = 1 ] || fail "expected one line on stderr without XDG_RUNTIME_DIR: $(cat "$WORK/err")"
echo PASS
