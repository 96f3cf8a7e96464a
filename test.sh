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
    for preset in mingw mingw-i686; do
        echo "== Windows cross build ($preset) =="
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset"
    done
fi

for preset in default asan; do
    echo "== $preset tests =="
    ctest --preset "$preset" || status=1
done
exit $status
