#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time: run_fuzzer.sh FUZZER SEED_DIR WORK_DIR
# QUINTABEL_FUZZ_SECONDS sets the time (default 60). New inputs go to WORK_DIR (in the build
# folder); anything the fuzzer finds is written there too, and the run fails.
set -euo pipefail
fuzzer=$1
seeds=$2
work=$3
seconds=${QUINTABEL_FUZZ_SECONDS:-60}
mkdir -p "$work/corpus" "$work/findings"
corpora=("$work/corpus")
[ -d "$seeds" ] && corpora+=("$seeds")
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
  -print_final_stats=1 -artifact_prefix="$work/findings/" "${corpora[@]}"
