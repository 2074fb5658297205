#!/usr/bin/env bash
# Photographs each of the six windows, filled from the emulated module, under
# Xvfb at 96 dpi with the default fonts: docs/<window>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh xvfb xauth imagemagick
scripts/build.sh
mkdir -p docs
VINDLE_GALLERY_DIR="$PWD/docs" QT_QPA_PLATFORM=xcb \
    xvfb-run --auto-servernum --server-args="-screen 0 1600x1200x24 -dpi 96" \
    build/tests/qt/vindle_qt_tests --gtest_also_run_disabled_tests \
    --gtest_filter='RenderedRun.DISABLED_WindowGallery'
ls docs/*.png
