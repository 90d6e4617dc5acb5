# SPDX-License-Identifier: MIT
# The environment every Wine process of the tests and scripts runs in. Sourced.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
# Wine converts Unix file names with the locale's character set. Without a UTF-8 locale (an
# empty environment as in containers, or LANG=C) it cannot open a path holding an umlaut, so
# such paths get the C.UTF-8 locale, which every Debian and Ubuntu system has. A player's
# Windows needs nothing of the kind: this is the test machine's setting, not the game's.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

# For a script that runs many Wine programs: a new temporary folder $work holding one Wine
# prefix, booted in the background ($boot: wait for it before timing anything). The prefix's
# server and the folder go when the script ends.
start_stage_prefix() {
  work=$(mktemp -d)
  export WINEPREFIX="$work/wine prefix"
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
  wineboot -i >/dev/null 2>&1 &
  boot=$!
}
