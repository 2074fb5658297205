#!/usr/bin/env bash
# Builds the part of the tree that needs neither Qt nor a pseudo-terminal (the
# core, the emulator core and their tests) and the browser module for
# WebAssembly with Debian's emscripten into build-web/ (incremental, the
# `web` preset), and runs the tests under Node.
# Arguments go to the GoogleTest program, e.g. --gtest_filter=NumberText*
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh emscripten googletest nodejs

# emscripten's JavaScript optimizer finds Debian's acorn only here.
export NODE_PATH=/usr/share/nodejs
build=build-web
if [ ! -f $build/CMakeCache.txt ]; then
    # CLI11 and nlohmann/json are header-only: the build takes their headers
    # alone, not the rest of the host's /usr/include with them.
    mkdir -p $build/cli11/include $build/cli11/share/cmake
    ln -sfn /usr/include/CLI $build/cli11/include/CLI
    ln -sfn /usr/share/cmake/CLI11 $build/cli11/share/cmake/CLI11
    mkdir -p $build/json/include $build/json/share/cmake
    ln -sfn /usr/include/nlohmann $build/json/include/nlohmann
    ln -sfn /usr/share/cmake/nlohmann_json $build/json/share/cmake/nlohmann_json
    cmake --preset web
fi
cmake --build --preset web --parallel "${JOBS:-2}"

# Node 18 and later have a fetch() that emscripten's loader would take the
# .wasm file's path to.
node=(node --no-experimental-fetch)
status=0
echo "node $build/tests/vindle_tests.js"
"${node[@]}" $build/tests/vindle_tests.js --gtest_brief=1 "$@" || status=1
for test in tests/web/*.test.mjs; do
    [ -e "$test" ] || continue
    echo "node $test"
    "${node[@]}" "$test" "$PWD/$build" || status=1
done
exit $status
