#!/usr/bin/env bash
# CLI11 and nlohmann/json are header-only: a cross build (Windows, WebAssembly)
# takes their headers alone from the host, not the rest of /usr/include with
# them. Links them into the build folder given as the argument.
set -euo pipefail
build=$1
mkdir -p "$build/cli11/include" "$build/cli11/share/cmake"
ln -sfn /usr/include/CLI "$build/cli11/include/CLI"
ln -sfn /usr/share/cmake/CLI11 "$build/cli11/share/cmake/CLI11"
mkdir -p "$build/json/include" "$build/json/share/cmake"
ln -sfn /usr/include/nlohmann "$build/json/include/nlohmann"
ln -sfn /usr/share/cmake/nlohmann_json "$build/json/share/cmake/nlohmann_json"
