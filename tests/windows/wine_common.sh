# SPDX-License-Identifier: MIT
# Shared by the Wine test scripts: the window test helpers (tests/window/common.sh) plus a
# Wine prefix. Sourced with the Windows game and the X11 tool as $1 $2.
#
# WINEPREFIX, when set to a prefix that exists, is used as it is (scripts/test-windows.sh
# makes one for the whole stage); otherwise the test makes a prefix of its own. Wine's first
# start (wineboot) takes seconds: it happens here, before anything the test times.

source "$(dirname "${BASH_SOURCE[0]}")/../window/common.sh" "$1" "" "$2"
wine_environment
MENU_MS=20000

wine_cleanup() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then kill "$APP_PID" 2>/dev/null; fi
  # The prefix's server and desktop belong to this test's X server: end them with it.
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  cleanup
}
trap wine_cleanup EXIT

start_wine() {
  need wine wineserver
  if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
    OWN_PREFIX="$WORK/wine prefix"
    export WINEPREFIX=$OWN_PREFIX
  fi
  # A server left from an earlier test serves another X server's desktop.
  wineserver -k 2>/dev/null
  wineboot -i >/dev/null 2>&1 || fail "wineboot failed in $WINEPREFIX"
  wineserver -p 60  # stays up between the test's Wine processes
}

# The wineserver of this test's prefix: it works in a folder named after the prefix's device
# and inode.
prefix_server() {
  local folder
  folder=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for pid in $(pgrep -u "$(id -u)" wineserver); do
    [ "$(basename "$(readlink "/proc/$pid/cwd")")" = "$folder" ] && echo "$pid" && return
  done
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The CPU time in clock ticks used so far by a process.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
