#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the game and starts it (arguments go to the game, e.g.
# --scale 2).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root
scripts/setup.sh
build_preset release
exec build/release/xmas-tictactoe "$@"
