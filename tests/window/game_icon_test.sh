#!/bin/bash
# SPDX-License-Identifier: MIT
# How docks and task bars know the window: its X11 class is the desktop entry's
# StartupWMClass, and its _NET_WM_ICON is the build's window icon, 64 x 64, pixel for pixel.
# SDL_VIDEO_X11_WMCLASS in the environment still names another class.
#   Environment: XMAS_DESKTOP_ENTRY (the configured .desktop file) and XMAS_WINDOW_ICON_TABLE
#   (the generated window_icon_pixels.cpp).
set -u
source "$(dirname "$0")/common.sh"
need xprop
[ -f "${XMAS_DESKTOP_ENTRY:-}" ] || fail "no desktop entry in XMAS_DESKTOP_ENTRY"
[ -f "${XMAS_WINDOW_ICON_TABLE:-}" ] || fail "no icon table in XMAS_WINDOW_ICON_TABLE"
start_xvfb

wm_class=$(sed -n 's/^StartupWMClass=//p' "$XMAS_DESKTOP_ENTRY")
[ -n "$wm_class" ] || fail "the desktop entry has no StartupWMClass"
[ "$wm_class.desktop" = "$(basename "$XMAS_DESKTOP_ENTRY")" ] ||
  fail "StartupWMClass $wm_class is not the entry's id ($(basename "$XMAS_DESKTOP_ENTRY"))"

# Starts the game, prints its WM_CLASS and _NET_WM_ICON as xprop shows them, ends it.
window_properties() {
  start_app env "$@" "$GAME"
  WINDOW=$(find_window xmas-tictactoe) || exit 1
  wait_for_menu
  xprop -id "$WINDOW" WM_CLASS
  xprop -id "$WINDOW" -notype -f _NET_WM_ICON 32c _NET_WM_ICON
  xdotool key x
  wait_app
  [ "$STATUS" = 0 ] || fail "the game ended with status $STATUS after a key"
}

properties=$(window_properties) || exit 1
echo "$properties" | cut -c 1-120
grep -qxF "WM_CLASS(STRING) = \"$wm_class\", \"$wm_class\"" <<<"$properties" ||
  fail "WM_CLASS is not \"$wm_class\", \"$wm_class\""
# The icon as words: width, height, then the pixels 0xAARRGGBB from the top row.
shown=$(sed -n 's/^_NET_WM_ICON = //p' <<<"$properties" | tr -d ' ' | tr ',' '\n')
[ -n "$shown" ] || fail "the window has no _NET_WM_ICON"
built=$( (echo 64; echo 64; grep -o '0x[0-9A-F]\{8\}' "$XMAS_WINDOW_ICON_TABLE") |
  while read -r word; do echo $((word)); done)
[ "$(wc -l <<<"$built")" = $((2 + 64 * 64)) ] || fail "the icon table does not hold 64 x 64 pixels"
[ "$shown" = "$built" ] ||
  fail "_NET_WM_ICON is not the window icon: $(diff <(echo "$built") <(echo "$shown") | head -n 4)"

other=$(window_properties SDL_VIDEO_X11_WMCLASS=another-class) || exit 1
other=$(grep "^WM_CLASS" <<<"$other")
[ "$other" = 'WM_CLASS(STRING) = "another-class", "another-class"' ] ||
  fail "SDL_VIDEO_X11_WMCLASS did not name the class: $other"
echo PASS
