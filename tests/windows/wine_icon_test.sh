#!/bin/bash
# SPDX-License-Identifier: MIT
# The Windows game's own icon, version and manifest: its resources hold the icon in sizes 16
# to 256, version information with project(VERSION) and an application manifest with
# per-monitor DPI awareness, long paths and the Windows versions it knows. Under Wine its
# window shows that icon: Wine's X11 driver gives the X server the window class's large and
# small icons (GCLP_HICON, GCLP_HICONSM) as _NET_WM_ICON, which must be the resource's 32 and
# 16 pixel images pixel for pixel.
set -u
source "$(dirname "$0")/wine_common.sh"
need wrestool icotool python3 xprop
check=$(dirname "$0")/resource_check.py
expected=$(project_version)

wrestool -l "$GAME"
wrestool -x -t14 "$GAME" >"$WORK/game.ico" || fail "no icon group in $GAME"
sizes=$(icotool -l "$WORK/game.ico" | sed -nE 's/.*--width=([0-9]+) --height=\1 --bit-depth=32 .*/\1/p' |
  tr '\n' ' ')
[ "$sizes" = "16 20 24 32 40 48 64 256 " ] || fail "the icon's 32-bit square sizes are: $sizes"

wrestool -x --raw -t16 "$GAME" >"$WORK/version" || fail "no version information in $GAME"
fixed=$(python3 "$check" fixed-version "$WORK/version") || exit 1
[ "$fixed" = "$expected.0 $expected.0" ] || fail "the fixed file and product versions are $fixed"
strings -el "$WORK/version" >"$WORK/version.txt"
for field in FileVersion ProductVersion; do
  grep -A1 -x "$field" "$WORK/version.txt" | grep -qx "$expected" ||
    fail "$field is not $expected: $(tr '\n' '|' <"$WORK/version.txt")"
done
for field in ProductName FileDescription LegalCopyright OriginalFilename; do
  grep -qx "$field" "$WORK/version.txt" || fail "the version information has no $field"
done

wrestool -x --raw -t24 "$GAME" >"$WORK/manifest.xml" || fail "no manifest in $GAME"
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$WORK/manifest.xml" ||
  fail "the manifest is not well-formed XML"
manifest=$(tr -s ' \n' ' ' <"$WORK/manifest.xml")
grep -q '<dpiAwareness [^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' <<<"$manifest" ||
  fail "the manifest asks for no per-monitor-v2 DPI awareness"
grep -q '<dpiAware [^>]*>true/pm</dpiAware>' <<<"$manifest" ||
  fail "the manifest has no per-monitor dpiAware for Windows 8.1"
grep -q '<longPathAware [^>]*>true</longPathAware>' <<<"$manifest" ||
  fail "the manifest is not long-path aware"
[ "$(grep -o '<supportedOS Id="{[-0-9a-f]*}"/>' <<<"$manifest" | wc -l)" = 5 ] ||
  fail "the manifest does not name Windows Vista to 11"

start_xvfb
start_wine
start_app wine "$GAME"
WINDOW=$(find_window xmas-tictactoe)
wait_for_menu
xprop -id "$WINDOW" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$WORK/window-icon"
python3 "$check" same-icons "$WORK/game.ico" "$WORK/window-icon" || fail "the window's icon"
xdotool key x
wait_app
[ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
echo PASS
