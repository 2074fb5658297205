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
    scripts/link-header-only.sh $build
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
