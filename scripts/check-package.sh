#!/usr/bin/env bash
# Unpacks the Debian package (by default the one scripts/package.sh made) into
# a temporary root and tries what it holds from there, without a display:
# each program's --version and --help, and its manual page through man.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-deps.sh dpkg-dev man-db

if [ $# -gt 0 ]; then
    deb=$1
else
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
    deb=build-package/vindle-setup_${version}_$(dpkg --print-architecture).deb
fi
version=$(dpkg-deb --field "$deb" Version)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

without_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
failed=0
fail() {
    echo "FAILED: $*" >&2
    failed=1
}
for program in "$root"/usr/bin/*; do
    name=$(basename "$program")
    if ! printed=$("${without_display[@]}" "$program" --version) ||
        [ "$printed" != "$name $version" ]; then
        fail "$name --version printed '$printed', not '$name $version'"
    fi
    if ! printed=$("${without_display[@]}" "$program" --help) || [ -z "$printed" ]; then
        fail "$name --help"
    fi
    page=$root/usr/share/man/man1/$name.1.gz
    if [ ! -f "$page" ]; then
        fail "$name has no manual page"
    elif ! warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
        [ -n "$warnings" ]; then
        fail "man -l $name.1.gz: $warnings"
    fi
    echo "$name: --version, --help and man page checked"
done
exit $failed
