#!/usr/bin/env bash
# Builds everything and runs every test, in the default and in the sanitizer build.
# Installs the Debian packages it needs first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh all

status=0
for preset in default asan; do
    echo "== $preset build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

if [ -f app/win32/CMakeLists.txt ] && grep -q add_executable app/win32/CMakeLists.txt; then
    echo "== Windows cross build =="
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw
fi

echo "== Web build =="
cmake --preset web >/dev/null
cmake --build --preset web

# The release files in dist/; the default build's release tests check and install them.
if cmake --list-presets 2>/dev/null | grep -q '"mingw-i686"'; then
    echo "== release files =="
    tools/release.sh || status=1
else
    echo "== release files: NOT MADE, there is no mingw-i686 preset for the 32-bit Windows program =="
fi

for preset in default asan; do
    echo "== $preset tests =="
    ctest --preset "$preset" || status=1
done
exit $status
