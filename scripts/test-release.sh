#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The release stage of the test suite:
#   1. runs scripts/release.sh twice, in two temporary folders (the second with another time
#      zone and umask) and compares the two SHA256SUMS: every file must have the same bytes.
#      Files that differ are named, and shown by diffoscope when it is installed;
#   2. checks SHA256SUMS against the files and the version in every file name;
#   3. checks the Debian package (scripts/test-package.sh: validators, lintian without errors
#      or warnings, the game started through its launcher under Xvfb);
#   4. starts the Windows zip's game under Wine (tests/windows/wine_zip_test.sh);
#   5. serves the unpacked browser zip and checks in headless Chromium that its canvas shows
#      the menu (tests/web/served_menu_test.py).
# A tree with uncommitted changes to tracked files is released as they stand (git stash
# create); untracked files are left out, as the release leaves them out.
# Ends with the line "release: P passed, F failed".
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
check() {  # check NAME COMMAND...: runs one check and counts it
  local name=$1
  shift
  echo "--- $name"
  local status=0
  "$@" || status=$?
  [[ $status -eq 0 ]] || echo "FAILED: $name" >&2
  count_check "$status"
}

rev=()
if ! git diff --quiet HEAD --; then
  stash=$(git stash create)
  rev=(--rev "$stash")
  echo "test-release: releasing the uncommitted changes as commit $stash"
fi
version=$(project_version)

# One Wine prefix for the zip's test, made while the releases build.
start_stage_prefix
first="$work/first run/dist"
second="$work/second/run/dist"
mkdir -p "$work/first run" "$work/second/run"
started=$SECONDS
repo=$PWD
(cd "$work/first run" && "$repo/scripts/release.sh" "${rev[@]}" "$first")
(cd "$work/second/run" && umask 077 && TZ=America/Los_Angeles \
   "$repo/scripts/release.sh" "${rev[@]}" "$second")
echo "test-release: two releases in $((SECONDS - started)) s"
for run in "$first" "$second"; do
  echo "SHA256SUMS of $run:"
  sed 's/^/  /' "$run/SHA256SUMS"
done

same_bytes() {
  diff "$first/SHA256SUMS" "$second/SHA256SUMS" && return 0
  local file
  for file in $(cd "$first" && ls); do
    [[ $file != SHA256SUMS ]] || continue
    cmp -s "$first/$file" "$second/$file" && continue
    echo "differs: $file"
    if command -v diffoscope >/dev/null; then
      diffoscope --no-progress --text - "$first/$file" "$second/$file" 2>/dev/null |
        head -n 40 || true
    fi
  done
  return 1
}
check "the two releases have the same bytes" same_bytes

sums_and_names() {
  (cd "$first" && sha256sum --check --strict --quiet SHA256SUMS) || return 1
  local expected="SHA256SUMS xmas-tictactoe-$version-web.zip"
  expected+=" xmas-tictactoe-$version-windows-x64.zip xmas-tictactoe-$version.tar.gz"
  expected+=" xmas-tictactoe_${version}_amd64.deb"
  [[ $(cd "$first" && echo *) == "$expected" ]] ||
    { echo "release files: $(cd "$first" && echo *), expected $expected"; return 1; }
}
check "SHA256SUMS and the file names" sums_and_names

check "the Debian package" scripts/test-package.sh "$first/xmas-tictactoe_${version}_amd64.deb"

tool=$work/x11_window_tool
build_x11_tool "$tool"
wait "$boot" || echo "test-release: wineboot failed" >&2
wineserver -w
check "the Windows zip under Wine" \
  timeout 180 bash tests/windows/wine_zip_test.sh "$first/xmas-tictactoe-$version-windows-x64.zip" "$tool"

browser_zip() {
  local folder=$work/web
  mkdir -p "$folder"
  unzip -q "$first/xmas-tictactoe-$version-web.zip" -d "$folder"
  dpkg-deb --fsys-tarfile "$first/xmas-tictactoe_${version}_amd64.deb" |
    tar -xO ./usr/libexec/xmas-tictactoe/Menu.Vadi >"$work/Menu.Vadi"
  timeout 120 /usr/bin/python3 tests/web/served_menu_test.py \
    "$folder/xmas-tictactoe-$version-web" "$work/Menu.Vadi"
}
check "the browser zip in headless Chromium" browser_zip

report_counts release
[[ $tests_failed -eq 0 ]]
