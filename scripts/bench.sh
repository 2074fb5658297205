#!/usr/bin/env bash
# Builds the benchmarks in release mode into build-release/ (incremental) and
# runs them. Arguments go to vindle_bench, e.g.
#   scripts/bench.sh --benchmark_filter=Monitor --stream-seconds=600
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
if [ ! -f build-release/CMakeCache.txt ]; then
    # -O2 rather than CMake's -O3: GCC 12 at -O3 reports a false -Wrestrict in
    # std::string's operator+ (GCC bug 105329), and the tree stays warning-free.
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVINDLE_WERROR=ON
fi
cmake --build build-release --parallel "${JOBS:-2}" --target vindle_bench
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec build-release/bench/vindle_bench "$@"
