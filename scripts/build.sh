#!/usr/bin/env bash
# Configures and builds the whole tree into build/ (incremental).
set -euo pipefail
cd "$(dirname "$0")/.."
build_type=${BUILD_TYPE:-RelWithDebInfo}
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" -DVINDLE_WERROR=ON
fi
cmake --build build --parallel "${JOBS:-2}"
