#!/usr/bin/env bash
# Fuzzes the game for a bounded time, starting from a scratch copy of the seed
# corpus so that nothing is written into the source tree. Fails on a crash, a
# broken invariant, an input that runs over 5 s or memory over 2 GB; the input
# that failed and the whole log are left in the output folder.
# Usage: run_fuzz.sh FUZZER CORPUS OUTPUT [SECONDS]
set -euo pipefail
fuzzer=$1
corpus=$2
output=$3
seconds=${4:-60}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$corpus"/. "$work"/
rm -rf "$output"
mkdir -p "$output"

status=0
"$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$output/" "$work" >"$output/fuzz.log" 2>&1 || status=$?

grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
    "$output/fuzz.log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$output/fuzz.log"
    echo
    echo "game fuzzer failed (exit $status); see $output" >&2
fi
exit "$status"
