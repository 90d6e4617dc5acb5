#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the test command as a newcomer's container would: in a minimal Debian 12 root
# (debootstrap --variant=minbase with git), on a fresh clone of this repository's HEAD, as root
# with an empty environment (no LANG, no HOME, no DISPLAY). Needs root and debootstrap; the
# root is made in FOLDER (default: a new temporary folder) and reused when it is there already.
#   scripts/test-fresh-debian.sh [FOLDER]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
[[ $(id -u) -eq 0 ]] || { echo "test-fresh-debian.sh: run as root (chroot, mounts)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "test-fresh-debian.sh: install debootstrap" >&2; exit 2; }
root=${1:-$(mktemp -d)/bookworm}
if [[ ! -x $root/usr/bin/git ]]; then
  debootstrap --variant=minbase --include=git,ca-certificates bookworm "$root" \
    http://deb.debian.org/debian
fi
mounts=(proc sys dev dev/pts dev/shm)
unmount() {
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do umount -l "$root/${mounts[i]}" 2>/dev/null || true; done
}
trap unmount EXIT
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "$root/root/xmas-tictactoe"
git clone -q "$PWD" "$root/root/xmas-tictactoe"
start=$SECONDS
status=0
chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  /bin/bash -c 'cd /root/xmas-tictactoe && bash .ci/run' || status=$?
echo "fresh Debian 12 root: .ci/run ended with status $status after $((SECONDS - start)) s"
exit "$status"
