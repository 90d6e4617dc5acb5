#!/bin/bash
# SPDX-License-Identifier: MIT
# Measures the game in its real window on a virtual X server (Xvfb):
#   - idle CPU use while it waits at the menu (utime + stime from /proc over ~10 s);
#   - click-to-screen latency: from a left click on a free cell until the cross's centre
#     pixel shows black in the window (median and max over several clicks and games), printed
#     beside the figure of the window thread that waited a whole refresh period after a press.
#
# Usage: scripts/measure.sh [--wine] [GAME]
# Without GAME the game is built (Release) in build/measure, or with --wine the Windows game
# (preset windows), which then runs under Wine in a prefix of its own. Needs Xvfb, xdotool, a
# C++ compiler and the Xlib and XTest headers (libx11-dev, libxtst-dev). Runs in about a
# minute.
set -u

source "$(dirname "$0")/lib.sh"
root=$xmas_root
idle_seconds=10
latency_budget_seconds=30
wanted_samples=15
launcher=()
# Press to pixel when a pass that handed over a press was followed by a whole 10 ms period.
old_median=10.5
if [ "${1:-}" = --wine ]; then
  shift
  launcher=(wine)
  old_median=11.9
  wine_environment
fi

for program in Xvfb xdotool c++ "${launcher[@]}"; do
  command -v "$program" >/dev/null || { echo "measure.sh: $program is not installed" >&2; exit 2; }
done

if [ $# -ge 1 ]; then
  game=$(realpath "$1")
elif [ ${#launcher[@]} -gt 0 ]; then
  (go_to_root && jobs=2 build_preset windows >/dev/null) ||
    { echo "measure.sh: the Windows build failed" >&2; exit 2; }
  game=$root/build/windows/xmas-tictactoe.exe
else
  build=$root/build/measure
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DXMAS_TESTS=OFF >/dev/null &&
    cmake --build "$build" --target xmas-tictactoe -j2 >/dev/null ||
    { echo "measure.sh: the build failed" >&2; exit 2; }
  game=$build/xmas-tictactoe
fi
[ -f "$game" ] || { echo "measure.sh: no game at $game" >&2; exit 2; }

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
  if [ ${#launcher[@]} -gt 0 ]; then wineserver -k 2>/dev/null; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The click-and-watch client, built here so that the script needs nothing else from the build.
tool=$work/x11_window_tool
build_x11_tool "$tool" || { echo "measure.sh: cannot build the X11 client" >&2; exit 2; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "measure.sh: Xvfb did not start" >&2; exit 2; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY
if [ ${#launcher[@]} -gt 0 ]; then
  # Wine's first start takes seconds: it happens here, before anything is timed.
  export WINEPREFIX="$work/wine prefix"
  wineboot -i >/dev/null 2>&1 || { echo "measure.sh: wineboot failed" >&2; exit 2; }
  wineserver -p 60
fi

window=
start_game() {
  "${launcher[@]}" "$game" >/dev/null 2>&1 &
  game_pid=$!
  window=
  for _ in $(seq 400); do
    window=$(xdotool search --onlyvisible --name '^xmas-tictactoe$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.05
  done
  [ -n "$window" ] || { echo "measure.sh: the game's window did not appear" >&2; exit 2; }
  menu_shown "$tool" "$window" 20000 || { echo "measure.sh: the menu did not show" >&2; exit 2; }
}

end_game() {
  xdotool key x
  for _ in $(seq 60); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.05; done
  wait "$game_pid" 2>/dev/null
  game_pid=
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
now() { date +%s.%N; }

# ---- Idle CPU at the menu ----
start_game
sleep 1
ticks_before=$(cpu_ticks)
time_before=$(now)
sleep "$idle_seconds"
ticks_after=$(cpu_ticks)
time_after=$(now)
idle=$(awk -v t0="$ticks_before" -v t1="$ticks_after" -v s0="$time_before" -v s1="$time_after" \
  -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", (t1 - t0) / hz / (s1 - s0) * 100 }')
echo "idle CPU at the menu: ${idle}% of one core (over $idle_seconds s)"

# ---- Click-to-screen latency of crosses ----
samples=()
deadline=$(($(date +%s) + latency_budget_seconds))
games=0
while [ ${#samples[@]} -lt $wanted_samples ] && [ "$(date +%s)" -lt "$deadline" ]; do
  [ -n "$game_pid" ] || start_game
  games=$((games + 1))
  menu_centre=$("$tool" pixel "$window" 325 325)
  xdotool mousemove --window "$window" 100 100 click 1
  "$tool" waitpixel "$window" 325 325 "!$menu_centre" 3000 >/dev/null || break
  sleep 0.4  # the 200 ms pause, then perhaps the computer's opening ring
  for cell in 5 1 9 3 7 2 4 6 8; do
    cx=$((104 + (cell - 1) % 3 * 221))
    cy=$((104 + (cell - 1) / 3 * 221))
    # Taken: a cross through the centre or a dark blue ring through the top of the cell.
    [ "$("$tool" pixel "$window" "$cx" "$cy")" = 000000 ] && continue
    [ "$("$tool" pixel "$window" "$cx" $((cy - 104)))" = 0000aa ] && continue
    ms=$("$tool" clickwait "$window" "$cx" "$cy" 000000 1000) || break  # the game has ended
    samples+=("$ms")
    sleep 0.3  # the computer answers
    [ ${#samples[@]} -ge $wanted_samples ] && break
  done
  end_game
done

if [ ${#samples[@]} -eq 0 ]; then
  echo "click-to-screen latency: no cross was seen"
  exit 1
fi
printf '%s\n' "${samples[@]}" | sort -n | awk -v games="$games" -v old="$old_median" '
  { v[NR] = $1 }
  END {
    median = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "click-to-screen latency of a cross: median %.1f ms, max %.1f ms (%d clicks, %d games;", \
           median, v[NR], NR, games
    printf " before drawings went out at once after a press: median %.1f ms)\n", old
  }'
