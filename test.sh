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

for preset in default asan; do
    echo "== $preset tests =="
    ctest --preset "$preset" || status=1
done
exit $status
