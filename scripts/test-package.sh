#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The packaging checks: builds the release preset, makes the Debian package with cpack, and
#   - validates the desktop entry (desktop-file-validate) and the AppStream metadata
#     (appstreamcli validate --no-net);
#   - runs lintian on the package: any error fails, every other tag is listed;
#   - unpacks the package and starts the game through its launcher under Xvfb (the window
#     test tests/window/install_test.sh, with the X11 tool of the ci build).
# Ends with the line "package: N passed, 0 failed". Called by scripts/test.sh; needs the packages of scripts/setup.sh --tests.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
rm -rf build/release/package
(cd build/release && cpack -G DEB >/dev/null)
package=build/release/package/xmas-tictactoe_$(sed -nE 's/^project\(xmas_tictactoe VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)_amd64.deb
[[ -f $package ]] || { echo "test-package: no $package" >&2; exit 1; }
echo "test-package: $package"

generated=build/release/packaging
desktop-file-validate "$generated"/*.desktop
appstreamcli validate --no-net "$generated"/*.metainfo.xml
checks=2  # each check above ends the script when it fails

lintian_log=build/release/package/lintian.log
# lintian's own exit status also counts warnings with some profiles: judge by its tags.
lintian --info --display-experimental --pedantic --tag-display-limit 0 "$package" \
  >"$lintian_log" 2>&1 || true
grep -v '^running with root privileges' "$lintian_log" || true
if grep -q '^E: ' "$lintian_log"; then
  echo "test-package: lintian reports errors" >&2
  exit 1
fi
echo "test-package: lintian: $(grep -c '^[EWIPX]: ' "$lintian_log" || true) tags, no errors"
checks=$((checks + 1))

tool=build/ci/tests/window/x11_window_tool
if [[ ! -x $tool ]]; then
  cmake --preset ci >/dev/null
  cmake --build --preset ci -j "$jobs" --target x11_window_tool
fi
bash tests/window/install_test.sh "$package" "$tool"
checks=$((checks + 1))
echo "package: $checks passed, 0 failed"
