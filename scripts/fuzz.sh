#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang++-14 (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build-fuzz/ and runs each of them.
#
#   scripts/fuzz.sh              a short run of every target (what ./test.sh does)
#   scripts/fuzz.sh 600          every target for 600 s
#   scripts/fuzz.sh 600 Monitor  the targets whose names match, for 600 s
#
# Each target keeps what it learnt in build-fuzz/fuzz/corpus/<target>/, so
# every run goes on from the last one. An input that fails a target is saved in
# build-fuzz/fuzz/findings/<target>/; give its file to the target to see it fail again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
if [ ! -f build-fuzz/CMakeCache.txt ]; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
        -DCMAKE_CXX_FLAGS="-O1 -g1" -DVINDLE_FUZZ=ON -DVINDLE_WITH_QT=OFF \
        -DVINDLE_WITH_BENCH=OFF -DVINDLE_WERROR=ON
fi
if [ $# -eq 0 ]; then
    # The short runs' own length (fuzz/CMakeLists.txt).
    cmake -U 'VINDLE_FUZZ_*' build-fuzz >/dev/null
else
    cmake -DVINDLE_FUZZ_SECONDS="$1" -DVINDLE_FUZZ_RUNS=-1 build-fuzz >/dev/null
fi
cmake --build build-fuzz --parallel "${JOBS:-2}" --target vindle_fuzz
ctest --test-dir build-fuzz --output-on-failure --parallel "${JOBS:-2}" \
    --label-regex fuzz ${2:+--tests-regex "$2"}
