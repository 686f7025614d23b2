#!/usr/bin/env bash
# Builds the benchmark programs for the host and runs them; each prints its own
# figures and its ratios against peers measured in the same run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$TPWR_ROOT/scripts/install-packages.sh"
dir=$TPWR_BUILD/bench
cmake -S "$TPWR_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTPWR_BENCH=ON -DTPWR_BUILD_TESTS=OFF >/dev/null
cmake --build "$dir" -j2
export TPWR_BENCH_BIN=$dir/bench TPWR_BENCH_WORK=$dir/work
mkdir -p "$TPWR_BENCH_WORK"
for script in "$TPWR_ROOT"/bench/*.sh; do
  [ -f "$script" ] || continue
  log "$(basename "$script")"
  bash "$script"
done
