#!/usr/bin/env bash
# Photographs each of the six windows, filled from the emulated module, under
# Xvfb at 96 dpi with the default fonts and the scale the program uses:
# docs/<window>.png, with the identity panel, a store in progress, a message
# box, the limiter after a refresh, the monitor with keys and the window that
# chooses a port when the program's own does not open; then the main
# and limiter windows on a 1366x768 screen less a 40 px panel
# (docs/<window>-1366x768.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh xvfb xauth imagemagick
scripts/build.sh
mkdir -p docs
gallery() {
    VINDLE_GALLERY_DIR="$PWD/docs" QT_QPA_PLATFORM=xcb \
        xvfb-run --auto-servernum --server-args="-screen 0 $1x24 -dpi 96" \
        build/tests/qt/vindle_qt_tests --gtest_also_run_disabled_tests \
        --gtest_filter='RenderedRun.DISABLED_WindowGallery:PortChooser.DISABLED_Gallery'
}
gallery 1600x1200
VINDLE_GALLERY_SUFFIX=-1366x768 gallery 1366x728
ls docs/*.png
