#!/usr/bin/env bash
# Builds the page (scripts/web.sh) and runs its tests in Debian's chromium,
# headless, driven by puppeteer-core at the version package-lock.json pins.
# Arguments go to node's test runner, e.g. --test-name-pattern=silent
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh chromium nodejs
# Some Node.js packages bring their own npm; Debian's is a package of its own.
command -v npm >/dev/null || scripts/ensure-deps.sh npm
scripts/web.sh
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
exec node --test "$@" tests/web/browser/
