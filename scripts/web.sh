#!/usr/bin/env bash
# Builds the utility's page into build-web/site/: the static files any HTTPS
# host (or localhost) can serve. With --serve, then serves it on
# http://localhost:8080 until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
serve=false
case "${1:-}" in
--serve) serve=true ;;
"") ;;
*)
    echo "usage: scripts/web.sh [--serve]" >&2
    exit 2
    ;;
esac
scripts/ensure-deps.sh
scripts/ensure-deps.sh emscripten nodejs

export NODE_PATH=/usr/share/nodejs
build=build-web
if [ ! -f $build/CMakeCache.txt ]; then
    scripts/link-header-only.sh $build
    cmake --preset web
fi
cmake --build --preset web --parallel "${JOBS:-2}" --target vindle-web

site=$build/site
mkdir -p $site
install -m 644 app/web/site/* src/web/*.mjs $build/web/vindle.js $build/web/vindle.wasm \
    app/vindle-setup.svg app/web/icons/*.png $site/
echo "The page is in $site/"
if $serve; then
    exec node scripts/serve-site.mjs "$PWD/$site" 8080
fi
