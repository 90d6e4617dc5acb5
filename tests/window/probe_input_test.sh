#!/bin/bash
# SPDX-License-Identifier: MIT
# Real X11 input through SDL into the mouse state and the key buffer.
set -u
source "$(dirname "$0")/common.sh"
start_xvfb

start_probe
xdotool windowfocus "$WINDOW"

key_lines() { grep -c '^key' "$WORK/out"; }

# press KEY [LINE...]: pressing KEY, then 1, gives exactly the key lines LINE... and "key 49".
press() {
  local key=$1
  shift
  local expected=("$@" "key 49")
  local before
  before=$(key_lines)
  xdotool key "$key" 1
  for _ in $(seq 200); do
    [ "$(key_lines)" -ge $((before + ${#expected[@]})) ] && break
    sleep 0.05
  done
  local got
  got=$(grep '^key' "$WORK/out" | tail -n +$((before + 1)) | head -n ${#expected[@]})
  local want
  want=$(printf '%s\n' "${expected[@]}")
  [ "$got" = "$want" ] || fail "key $key gave '$(echo $got)', expected '$(echo $want)'"
}

press Escape "key 27"
press Return "key 13"
press KP_Enter "key 13"
press BackSpace "key 8"
press Tab "key 9"
press ctrl+a "key 1"
press ctrl+z "key 26"
press a "key 97"
press shift+a "key 65"
press F1 "key 255 59"
press shift+F1 "key 255 84"
press ctrl+F1 "key 255 94"
press F11 "key 255 133"
press F12 "key 255 134"
press ctrl+Left "key 255 115"
press Up "key 255 72"
press Delete "key 255 83"
press KP_Begin "key 255 76"
press F10
press alt+F4
press alt+x
press Shift_L
press Control_R
press Caps_Lock
press a "key 65"
press Caps_Lock
press a "key 97"

# The mouse: position, buttons held, the wheel, and -1 everywhere outside the drawing area.
xdotool mousemove --window "$WINDOW" 100 50
expect_last 'mouse 100 50 0 0'
xdotool mousedown 1
expect_last 'mouse 100 50 1 0'
xdotool mouseup 1
expect_last 'mouse 100 50 0 0'
xdotool mousedown 3
expect_last 'mouse 100 50 2 0'
xdotool mouseup 3
expect_last 'mouse 100 50 0 0'
xdotool click 4
expect_last 'mouse 100 50 0 1'
# A click shorter than one pass of the window thread is still seen held.
xdotool click 1
expect_line 'mouse 100 50 1 1'
expect_last 'mouse 100 50 0 1'

xdotool mousemove --window "$WINDOW" 650 650
expect_last 'mouse 650 650 0 1'
xdotool mousemove --window "$WINDOW" 651 650
expect_last 'mouse -1 -1 -1 -1'
xdotool mousemove --window "$WINDOW" 200 200
expect_last 'mouse 200 200 0 1'
xdotool mousemove --window "$WINDOW" 200 651
expect_last 'mouse -1 -1 -1 -1'
xdotool mousemove --window "$WINDOW" 0 0
expect_last 'mouse 0 0 0 1'

# A button pressed inside and released outside leaves no button held.
xdotool mousemove --window "$WINDOW" 300 300 mousedown 1
expect_last 'mouse 300 300 1 1'
xdotool mousemove 5 5
expect_last 'mouse -1 -1 -1 -1'
xdotool mouseup 1
xdotool mousemove --window "$WINDOW" 310 300
expect_last 'mouse 310 300 0 1'

xdotool key q
wait_app
[ "$STATUS" = 0 ] || fail "ended with status $STATUS"
echo PASS
