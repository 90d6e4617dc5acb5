#!/bin/bash
# SPDX-License-Identifier: MIT
# The program's command line, without any display: --help and --version print and exit 0,
# and a command line it does not understand prints the usage line on stderr and exits 2.
set -u
game=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$game" "$@" >"$work/out" 2>"$work/err"
  status=$?
}

run --help
[ "$status" = 0 ] || fail "--help exited $status"
grep -q '^Usage: xmas-tictactoe ' "$work/out" || fail "--help prints no usage line"
for word in GEWONNEN VERLOREN REMIS --scale --version; do
  grep -q -- "$word" "$work/out" || fail "--help does not mention $word"
done
[ ! -s "$work/err" ] || fail "--help wrote to stderr: $(cat "$work/err")"

run --version
[ "$status" = 0 ] || fail "--version exited $status"
[ "$(cat "$work/out")" = "xmas-tictactoe $version" ] || fail "--version printed: $(cat "$work/out")"

for arguments in "--bogus" "extra" "--scale" "--scale 9" "--scale=0" "--scale two"; do
  # shellcheck disable=SC2086
  run $arguments
  [ "$status" = 2 ] || fail "'$arguments' exited $status, expected 2"
  [ ! -s "$work/out" ] || fail "'$arguments' wrote to stdout: $(cat "$work/out")"
  grep -q '^Usage: xmas-tictactoe ' "$work/err" || fail "'$arguments' gave no usage line on stderr"
done
echo PASS
