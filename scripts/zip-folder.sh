#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Zips one folder so that the same files always give the same bytes:
#   scripts/zip-folder.sh ZIP PARENT NAME
# stores PARENT/NAME as NAME/... in ZIP (replaced if it exists): entries sorted by name, no
# directory entries, no extra fields (no uid/gid, no Unix time stamps), every file's time set
# to SOURCE_DATE_EPOCH (taken from the last commit when unset), in UTC. The files in PARENT/NAME
# are touched to that time. Used by scripts/package.sh and scripts/release.sh.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
[[ $# -eq 3 ]] || { echo "usage: $0 ZIP PARENT NAME" >&2; exit 2; }
zip_file=$1 parent=$2 name=$3
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git -C "$xmas_root" log -1 --format=%ct 2>/dev/null) || {
    echo "$0: SOURCE_DATE_EPOCH is not set and there is no commit to take it from" >&2
    exit 1
  }
fi
[[ $zip_file == /* ]] || zip_file=$PWD/$zip_file
export TZ=UTC LC_ALL=C
cd "$parent"
chmod -R u+rwX,go+rX,go-w "$name"
find "$name" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$zip_file"
find "$name" -type f | sort | zip -q -X -D "$zip_file" -@
