#!/usr/bin/env bash
# Installs what is missing, builds, and starts the module emulator on a pseudo-terminal.
set -euo pipefail
cd "$(dirname "$0")"
scripts/ensure-deps.sh
scripts/build.sh
echo
echo "Starting the module emulator; a serial terminal or the set-up utility can open"
echo "the device it prints below at 38400 bit/s, 8N1. Stop it with Ctrl+C."
exec build/emulator/vindle-emulator "$@"
