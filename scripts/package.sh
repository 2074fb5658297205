#!/usr/bin/env bash
# Builds the Debian package build-release/vindle-setup_<version>_amd64.deb from
# the release tree and checks it with lintian, which must find no error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh dpkg-dev file lintian
scripts/configure-release.sh
cmake --build build-release --parallel "${JOBS:-2}" --target vindle_package_contents
(cd build-release && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-release/CMakeCache.txt)
deb=build-release/vindle-setup_${version}_$(dpkg --print-architecture).deb
echo "lintian $deb"
lintian --fail-on error --display-info "$deb"
echo "$deb"
