#!/usr/bin/env bash
# Builds the benchmarks in release mode into build-release/ (incremental) and
# runs them. Arguments go to vindle_bench, e.g.
#   scripts/bench.sh --benchmark_filter=Monitor --stream-seconds=600
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/configure-release.sh
cmake --build build-release --parallel "${JOBS:-2}" --target vindle_bench
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec build-release/bench/vindle_bench "$@"
