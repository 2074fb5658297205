#!/usr/bin/env bash
# Builds the Debian package build-package/vindle-setup_<version>_amd64.deb in a
# tree of its own, with Debian's hardening flags (dpkg-buildflags: fortified
# functions, stack protector, full RELRO and bind-now), and checks it with
# lintian, which must find no error and no warning. The benchmarks keep their
# release tree, build-release/, as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh
scripts/ensure-deps.sh dpkg-dev file lintian
if [ ! -f build-package/CMakeCache.txt ]; then
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    # CMake takes CXXFLAGS and LDFLAGS from the environment when it first
    # configures a tree; the preprocessor's flags (_FORTIFY_SOURCE) go with
    # the compiler's. -O2 rather than CMake's -O3, as in build-release/.
    CXXFLAGS="$CPPFLAGS $CXXFLAGS" LDFLAGS="$LDFLAGS" \
        cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DVINDLE_WERROR=ON \
        -DVINDLE_WITH_TESTS=OFF -DVINDLE_WITH_BENCH=OFF
fi
cmake --build build-package --parallel "${JOBS:-2}" --target vindle_package_contents
(cd build-package && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
deb=build-package/vindle-setup_${version}_$(dpkg --print-architecture).deb
echo "lintian $deb"
lintian --fail-on error,warning --display-info "$deb"
echo "$deb"
