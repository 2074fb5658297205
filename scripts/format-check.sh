#!/usr/bin/env bash
# Checks the format of every source file, fast, before anything is built:
# clang-format (.clang-format) for the C++, Prettier (.prettierrc.json) and
# ESLint (eslint.config.mjs) for the JavaScript and the page's style sheet,
# at the versions package-lock.json pins. With --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=false
case "${1:-}" in
--fix) fix=true ;;
"") ;;
*)
    echo "usage: scripts/format-check.sh [--fix]" >&2
    exit 2
    ;;
esac
scripts/ensure-deps.sh clang-format-14 nodejs
command -v npm >/dev/null || scripts/ensure-deps.sh npm
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi

web=(
    'src/web/**/*.mjs' 'app/web/**/*.{js,mjs,css}' 'tests/web/**/*.{js,mjs}' 'bench/web/**/*.mjs'
    'scripts/*.mjs' eslint.config.mjs
)
mapfile -t cpp < <(git ls-files '*.cpp' '*.h')
if $fix; then
    clang-format-14 -i "${cpp[@]}"
    npx prettier --log-level warn --write "${web[@]}"
    npx eslint --fix "${web[@]}"
else
    clang-format-14 --dry-run --Werror "${cpp[@]}"
    npx prettier --log-level warn --check "${web[@]}"
    npx eslint "${web[@]}"
fi
