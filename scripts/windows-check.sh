#!/usr/bin/env bash
# Builds the part of the tree that needs neither Qt nor a pseudo-terminal (the
# core, the emulator core and their tests) for 64-bit Windows with MinGW-w64
# into build-windows/ (incremental), and runs the tests under wine64.
# Arguments go to the test program, e.g. --gtest_filter=CommandLine*
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh g++-mingw-w64-x86-64-posix googletest wine64

build=build-windows
if [ ! -f $build/CMakeCache.txt ]; then
    scripts/link-header-only.sh $build
    cmake -S . -B $build -G Ninja --toolchain "$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_CXX_FLAGS="-O1" \
        -DVINDLE_WITH_QT=OFF -DVINDLE_WITH_BENCH=OFF -DVINDLE_WERROR=ON \
        -DVINDLE_GTEST_SOURCE_DIR=/usr/src/googletest \
        -DCLI11_DIR="$PWD/$build/cli11/share/cmake/CLI11" \
        -Dnlohmann_json_DIR="$PWD/$build/json/share/cmake/nlohmann_json"
fi
cmake --build $build --parallel "${JOBS:-2}"

export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -d "$WINEPREFIX" ]; then
    # A new prefix: wine sets it up once, at some length, and talks about it.
    "$wine" wineboot --init >/dev/null 2>&1
fi
status=0
for test in $build/tests/*.exe; do
    echo "wine64 $test"
    "$wine" "$test" --gtest_brief=1 "$@" || status=1
done
exit $status
