#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian/Ubuntu packages that are missing for building (and, with --tests, for
# testing) xmas-tictactoe. Uses sudo when not run as root.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libsdl2-dev)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(googletest libgtest-dev libbenchmark-dev xvfb xdotool x11-utils x11-apps
             libx11-dev libxtst-dev clang libclang-rt-dev libstb-dev
             g++-mingw-w64-x86-64-posix wine wine64 icoutils zip unzip
             lintian desktop-file-utils appstream dpkg-dev fakeroot file
             emscripten terser nodejs chromium chromium-driver python3-selenium
             webkit2gtk-driver firefox-esr
             diffoscope-minimal)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if ((${#missing[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
