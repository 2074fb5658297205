#!/usr/bin/env bash
# Installs what is missing, builds, and starts varnel_com9 on a built-in
# emulated module. Without a display it runs the same start-up under Xvfb,
# saves screenshots of the filled windows under build/screenshots and says
# where they are. Nothing is kept anywhere else.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-deps.sh
scripts/build.sh

program=build/app/varnel_com9
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" --emulate "$@"
fi

echo "No display: running the start-up under Xvfb and taking screenshots instead."
scripts/ensure-deps.sh xvfb xauth imagemagick
out=build/screenshots
mkdir -p "$out"
export QT_QPA_PLATFORM=xcb
xvfb-run --auto-servernum --server-args="-screen 0 1600x1200x24 -dpi 96" \
    bash -c '
        "$1" --emulate & pid=$!
        sleep 4
        import -window root "$2/main.png"
        kill "$pid"; wait "$pid" || true
    ' run "$program" "$out"
echo "Screenshot of the main window, filled from the emulated module: $out/main.png"
