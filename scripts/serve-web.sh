#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Serves build/web/ on 127.0.0.1 for playing in the browser: bash scripts/serve-web.sh [PORT]
# (build it first: cmake --preset web && cmake --build --preset web).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$xmas_root/build/web"
port=${1:-8651}
echo "Open http://127.0.0.1:$port/ (Ctrl+C stops the server)"
exec python3 -m http.server --bind 127.0.0.1 "$port"
