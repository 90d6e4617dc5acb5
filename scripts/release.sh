#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes every release file of one commit, the same bytes on every build, with their checksums:
#   scripts/release.sh [--rev COMMIT] [OUTPUT_DIRECTORY]      (default: dist/)
#
#   xmas-tictactoe-VERSION.tar.gz                 the sources (git archive of the commit)
#   xmas-tictactoe_VERSION_amd64.deb              the Debian package (cpack -G DEB)
#   xmas-tictactoe-VERSION-windows-x64.zip        the Windows zip (scripts/package.sh)
#   xmas-tictactoe-VERSION-web.zip                what a static web host serves (the web build's
#                                                 install rule, cmake/Web.cmake)
#   SHA256SUMS                                    sha256sum of the four (check: sha256sum -c)
#
# Without --rev the commit is HEAD, and a tree with uncommitted changes to tracked files is
# refused. The build runs in a temporary folder on the unpacked source archive, so neither the
# build's path nor untracked files reach the release files; SOURCE_DATE_EPOCH is the commit's
# time, and every archive has sorted entries with that time. VERSION is project(VERSION) in
# CMakeLists.txt. Needs the packages of scripts/setup.sh --tests (mingw-w64, emscripten, zip,
# dpkg-dev).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
repo=$PWD

rev=
while [[ $# -gt 0 ]]; do
  case $1 in
    --rev) rev=${2:?--rev needs a commit}; shift 2 ;;
    -h | --help) sed -n '3,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "release: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
out=${1:-dist}

if [[ -z $rev ]]; then
  rev=HEAD
  if ! git diff --quiet HEAD --; then
    echo "release: the tree has uncommitted changes; commit them first (or name a commit" \
         "with --rev: only committed files are built)" >&2
    git status --short --untracked-files=no >&2
    exit 1
  fi
fi
commit=$(git rev-parse --verify "$rev^{commit}")
untracked=$(git ls-files --others --exclude-standard | wc -l)
if [[ $untracked -gt 0 ]]; then
  echo "release: $untracked untracked files are not part of the release"
fi

export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export TZ=UTC LC_ALL=C
umask 022

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(git show "$commit:CMakeLists.txt" | project_version /dev/stdin)
[[ -n $version ]] || { echo "release: no project(... VERSION ...) in CMakeLists.txt" >&2; exit 1; }
name=xmas-tictactoe-$version
echo "release: $name from commit $commit ($(date -u -d "@$SOURCE_DATE_EPOCH" '+%F %T') UTC)"

files=$work/files
mkdir -p "$files"
# The source archive, and the tree every other file is built from.
git archive --format=tar --prefix="$name/" "$commit" | gzip -9n >"$files/$name.tar.gz"
tar -xzf "$files/$name.tar.gz" -C "$work"
src=$work/$name
cd "$src"

started=$SECONDS
took() { echo "release: $1 made ($((SECONDS - started)) s)"; started=$SECONDS; }

# The Debian package.
build_preset release -DXMAS_REPRODUCIBLE=ON
# CPack's DEB generator (CMake 3.25) takes SOURCE_DATE_EPOCH as the time of every member and
# entry and writes gzip headers without a time: its package needs no repacking.
(cd build/release && cpack -G DEB >/dev/null)
deb=xmas-tictactoe_${version}_amd64.deb
cp "build/release/package/$deb" "$files/"
took "$deb"

# The Windows zip.
cmake --preset windows -DXMAS_REPRODUCIBLE=ON >/dev/null
zip=$(scripts/package.sh "$work/windows" | tail -n 1)
cp "$zip" "$files/"
took "$(basename "$zip")"

# The browser's folder, as the web build's install rule lays it out.
build_preset web -DXMAS_REPRODUCIBLE=ON -DXMAS_TESTS=OFF
cmake --install build/web --prefix "$work/web/$name-web" >/dev/null
scripts/zip-folder.sh "$files/$name-web.zip" "$work/web" "$name-web"
took "$name-web.zip"

cd "$files"
sha256sum -- * >SHA256SUMS
cd "$repo"
mkdir -p "$out"
cp -- "$files"/* "$out/"
echo "release: in $out/"
(cd "$out" && cat SHA256SUMS)
