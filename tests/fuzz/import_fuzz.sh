#!/usr/bin/env bash
# Runs one import fuzzer for SECONDS on a copy of its seeds:
# import_fuzz.sh FUZZER SEEDS WORK SECONDS
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work/corpus" "$work/findings"
cp "$seeds"/* "$work/corpus/" 2>/dev/null || true
# The largest seed is a workbook of a whole set; a bomb must be refused within a second.
exec "$fuzzer" -max_total_time="$seconds" -max_len=262144 -timeout=2 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus"
