#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the picture loader's fuzz target (preset "fuzz", clang++ with libFuzzer, address and
# undefined-behaviour sanitizers) and runs it for a bounded time from a freshly written seed
# corpus. Prints the number of executions and the result; exits non-zero on any finding.
#
# Usage: scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
go_to_root

seconds="${1:-60}"
build=build/fuzz

jobs=2 build_preset fuzz -- --target load_picture_fuzz make_seed_corpus

seeds="$build/fuzz/seeds"
corpus="$build/fuzz/corpus"
artifacts="$build/fuzz/artifacts/"
rm -rf "$seeds"
mkdir -p "$corpus" "$artifacts"
"$build/fuzz/make_seed_corpus" "$seeds"

log="$build/fuzz/last_run.log"
status=0
"$build/fuzz/load_picture_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" \
  "$corpus" "$seeds" >"$log" 2>&1 || status=$?

executions=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
echo "fuzz: ${executions:-unknown} executions in ${seconds} s, corpus $(ls "$corpus" | wc -l) files"
if [[ $status -ne 0 ]]; then
  echo "fuzz: FAILED (exit $status); last lines of $log:"
  tail -n 40 "$log"
  exit "$status"
fi
echo "fuzz: no crash, leak, timeout or undefined behaviour found"
