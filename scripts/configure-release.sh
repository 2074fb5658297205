#!/usr/bin/env bash
# Configures the release tree build-release/ once; the benchmarks are built
# there (the Debian package has its own tree, see scripts/package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build-release/CMakeCache.txt ]; then
    # -O2 rather than CMake's -O3: GCC 12 at -O3 reports a false -Wrestrict in
    # std::string's operator+ (GCC bug 105329), and the tree stays warning-free.
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVINDLE_WERROR=ON
fi
