#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The packaging checks, on the given Debian package or else on one made here (the release
# preset built, then cpack -G DEB):
#   - validates the package's desktop entry (desktop-file-validate) and AppStream metadata
#     (appstreamcli validate --no-net);
#   - runs lintian on the package: any error or warning fails, every other tag is listed;
#   - unpacks the package and starts the game through its launcher under Xvfb (the window
#     test tests/window/install_test.sh, with the X11 tool of the ci build).
#   scripts/test-package.sh [PACKAGE.deb]
# Ends with the line "package: N passed, 0 failed". scripts/test-release.sh calls it with the
# release's package; needs the packages of scripts/setup.sh --tests.
set -euo pipefail
package=${1:-}
[[ -z $package || $package == /* ]] || package=$PWD/$package
source "$(dirname "$0")/lib.sh"
go_to_root

if [[ -z $package ]]; then
  build_preset release
  rm -rf build/release/package
  (cd build/release && cpack -G DEB >/dev/null)
  package=build/release/package/xmas-tictactoe_$(project_version)_amd64.deb
fi
[[ -f $package ]] || { echo "test-package: no $package" >&2; exit 1; }
echo "test-package: $package"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
# Each check ends the script when it fails.
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
count_check 0
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
count_check 0

lintian_log=$unpacked/lintian.log
# lintian's own exit status also counts warnings with some profiles: judge by its tags.
lintian --info --display-experimental --pedantic --tag-display-limit 0 "$package" \
  >"$lintian_log" 2>&1 || true
grep -v '^running with root privileges' "$lintian_log" || true
if grep -q '^[EW]: ' "$lintian_log"; then
  echo "test-package: lintian reports errors or warnings" >&2
  exit 1
fi
echo "test-package: lintian: $(grep -c '^[EWIPX]: ' "$lintian_log" || true) tags, no errors or warnings"
count_check 0

tool=build/ci/tests/window/x11_window_tool
if [[ ! -x $tool ]]; then
  build_preset ci -- --target x11_window_tool
fi
bash tests/window/install_test.sh "$package" "$tool"
count_check 0
report_counts package
