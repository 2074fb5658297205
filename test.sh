#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-deps.sh
# An unformatted file fails at once, before anything is built.
scripts/format-check.sh
scripts/build.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir build --output-on-failure --parallel "${JOBS:-2}" "$@"
# The whole suite also gives every fuzz target a short run (build-fuzz/), and
# tests the page in the browser where chromium is installed (.ci/run installs it).
if [ $# -eq 0 ]; then
    scripts/fuzz.sh
    if command -v chromium >/dev/null; then
        scripts/browser-check.sh
    fi
fi
