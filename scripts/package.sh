#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the Windows release zip, xmas-tictactoe-<version>-windows-x64.zip: the game, its two
# pictures and LIESMICH.txt in one folder. Builds the "windows" preset first. The zip's entries
# are sorted and carry the time SOURCE_DATE_EPOCH (else the last commit's time), so the same
# build gives the same zip (scripts/zip-folder.sh).
#   scripts/package.sh [OUTPUT_DIRECTORY]     (default: build/windows)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
out=${1:-build/windows}
mkdir -p "$out"
out=$(cd "$out" && pwd)

build_preset windows
version=$(sed -nE 's/^CMAKE_PROJECT_VERSION:STATIC=(.*)$/\1/p' build/windows/CMakeCache.txt)
[[ -n $version ]] || { echo "no project version in build/windows" >&2; exit 1; }

name=xmas-tictactoe-$version-windows-x64
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp build/windows/xmas-tictactoe.exe build/windows/Menu.Vadi build/windows/Vadi.Vadi \
   "$stage/$name/"
# Windows line ends, so that Notepad of any age shows the text right.
sed 's/$/\r/' packaging/LIESMICH.txt >"$stage/$name/LIESMICH.txt"
scripts/zip-folder.sh "$out/$name.zip" "$stage" "$name"
echo "$out/$name.zip"
