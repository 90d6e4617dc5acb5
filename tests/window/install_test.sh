#!/bin/bash
# SPDX-License-Identifier: MIT
# The installed game, started through its launcher from another working directory, finds its
# pictures beside its executable: from `cmake --install` of a build tree, or from a Debian
# package unpacked with dpkg-deb. A missing picture is named on stderr and leaves magenta, and
# a copy of the program's folder under a 300-character path still finds its pictures.
#
#   install_test.sh BUILD_DIR|PACKAGE.deb X11_WINDOW_TOOL
set -u
source "$(dirname "$0")/common.sh" "" "" "$2"
source_tree=$1

if [[ $source_tree == *.deb ]]; then
  need dpkg-deb
  dpkg-deb -x "$source_tree" "$WORK/root" || fail "cannot unpack $source_tree"
  launcher=$WORK/root/usr/games/xmas-tictactoe
else
  cmake --install "$source_tree" --prefix "$WORK/root" >"$WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(tail -n 5 "$WORK/install.log")"
  launcher=$WORK/root/bin/xmas-tictactoe
fi
[ -L "$launcher" ] || fail "no launcher link at $launcher"
[[ $(readlink "$launcher") != /* ]] || fail "the launcher link is absolute: $(readlink "$launcher")"
program=$(readlink -f "$launcher")
folder=$(dirname "$program")
for file in Menu.Vadi Vadi.Vadi; do
  [ -f "$folder/$file" ] || fail "no $file beside the executable in $folder"
done
if command -v file >/dev/null; then
  file "$program" | grep -q 'not stripped' && fail "the installed executable is not stripped"
fi
start_xvfb

# Runs the program from the root directory and checks what the menu corners show: the menu
# picture, or (with 'magenta') the fill of a picture that could not be loaded. The window is
# found by its title, or as the only window when a title pattern is given.
run_game() {
  local program=$1 expect=$2 title=${3:-xmas-tictactoe}
  (cd / && exec "$program") >"$WORK/out" 2>"$WORK/err" &
  APP_PID=$!
  WINDOW=$(find_window "$title") || exit 1
  "$TOOL" waitpixel "$WINDOW" 100 100 '!000000' 10000 >/dev/null || fail "nothing showed"
  sleep 0.2
  local corner
  for corner in "5 5" "645 5" "5 645" "645 645" "325 325"; do
    local colour
    colour=$(pixel $corner)
    if [ "$expect" = magenta ]; then
      [ "$colour" = ff00ff ] || fail "$program: ($corner) is $colour, not magenta"
    else
      [ "$colour" != ff00ff ] || fail "$program: ($corner) is magenta: the menu picture is missing"
    fi
  done
  xdotool key x
  wait_app
  [ "$STATUS" = 0 ] || fail "$program ended with status $STATUS after a key"
}

run_game "$launcher" menu
[ ! -s "$WORK/err" ] || fail "unexpected output on stderr: $(cat "$WORK/err")"

# Without its menu picture the game goes on over magenta and says which file is missing.
cp -a "$folder" "$WORK/broken"
rm "$WORK/broken/Menu.Vadi"
run_game "$WORK/broken/xmas-tictactoe" magenta
[ "$(wc -l <"$WORK/err")" = 1 ] || fail "expected one line on stderr: $(cat "$WORK/err")"
grep -qF "$WORK/broken/Menu.Vadi: missing" "$WORK/err" ||
  fail "stderr does not name the missing picture: $(cat "$WORK/err")"

# The whole folder under a path of 300 characters.
long=$WORK
while [ ${#long} -lt 280 ]; do long=$long/folder-of-the-game; done
long=$long/$(printf 'x%.0s' $(seq $((299 - ${#long}))))
mkdir -p "$(dirname "$long")"
cp -a "$folder" "$long"
[ ${#long} = 300 ] || fail "the long path is ${#long} characters"
# (The title is taken from the path's first 127 bytes, so here it is not the program's name.)
run_game "$long/xmas-tictactoe" menu '.+'

echo PASS
