#!/bin/bash
# SPDX-License-Identifier: MIT
# The release zip as a player gets it: unpacked into a folder whose path holds a space and an
# umlaut, the game starts under Wine, shows its menu picture (not the magenta of a missing
# picture), plays a game against Engel to its banner, and ends with status 0 on a key.
#   wine_zip_test.sh ZIP X11_TOOL
set -u
source "$(dirname "$0")/wine_common.sh"
need unzip
folder="$WORK/Weihnachtsspiele/Übung mit Leerzeichen"
mkdir -p "$folder"
unzip -q "$GAME" -d "$folder" || fail "cannot unpack $GAME"
exe=$(find "$folder" -name xmas-tictactoe.exe | head -n 1)
[ -n "$exe" ] || fail "no xmas-tictactoe.exe in $GAME"
for file in Menu.Vadi Vadi.Vadi LIESMICH.txt; do
  [ -f "$(dirname "$exe")/$file" ] || fail "$file is not beside the exe"
done
start_xvfb
start_wine

start_app wine "$exe"
WINDOW=$(find_window xmas-tictactoe)
wait_for_menu
sleep 0.2
for point in "100 100" "550 100" "100 550" "550 550" "325 325"; do
  read -r x y <<<"$point"
  [ "$(pixel "$x" "$y")" != ff00ff ] || fail "the menu is magenta at ($x, $y): no picture"
done

# Engel sits in the bottom left corner.
choose_opponent 100 550 "Engel's corner"
sleep 0.5
! banner_shown || fail "a banner shows before the game was played"

# How many cells hold a cross or a ring.
marks() {
  local count=0 cell
  for cell in 1 2 3 4 5 6 7 8 9; do
    has_ring "$cell" || has_cross "$cell" && count=$((count + 1))
  done
  echo "$count"
}

# Crosses into free cells, in order, until a banner shows.
for _ in 1 2 3 4 5; do
  banner_shown && break
  for cell in 1 2 3 4 5 6 7 8 9; do
    has_ring "$cell" || has_cross "$cell" && continue
    "$TOOL" clickwait "$WINDOW" "$(cell_x "$cell")" "$(cell_y "$cell")" 000000 5000 >/dev/null ||
      fail "no cross appeared in cell $cell"
    # The computer's answer: a click before its ring shows would be ignored.
    crossed=$(marks)
    for _ in $(seq 50); do
      banner_shown || [ "$(marks)" -gt "$crossed" ] && break
      sleep 0.1
    done
    break
  done
done
for _ in $(seq 50); do banner_shown && break; sleep 0.1; done
banner_shown || fail "no banner after the board was played out"

xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
echo PASS
