#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitize/ (incremental) and runs every test there. The first
# error a sanitizer finds stops the program that made it, and so fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

if [ ! -f build-sanitize/CMakeCache.txt ]; then
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_CXX_FLAGS="-O1 -g1" \
        -DVINDLE_SANITIZE=ON -DVINDLE_WITH_BENCH=OFF -DVINDLE_WERROR=ON
fi
# The tests are listed by running them, so the options above apply there too.
cmake --build build-sanitize --parallel "${JOBS:-2}"
ctest --test-dir build-sanitize --output-on-failure --parallel "${JOBS:-2}" "$@"
