#!/usr/bin/env bash
# Checks the C++ formatting and the scripts (tools/lint.sh), builds everything (the normal, the
# sanitizer, the 64- and 32-bit Windows cross builds, the browser build and the fuzzing
# targets), runs every test in the normal and in the sanitizer build and each fuzzing target for
# a short while. Installs the Debian packages it needs first. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh all

echo "== formatting =="
tools/check-format.sh
echo "== scripts =="
tools/lint.sh

for preset in default asan mingw mingw-i686 web fuzz; do
    echo "== $preset build =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
done

status=0
# The release files in dist/; the default build's release tests check and install them.
echo "== release files =="
tools/release.sh || status=1

for preset in default asan; do
    echo "== $preset tests =="
    ctest --preset "$preset" || status=1
done

echo "== fuzzing =="
tools/fuzz.sh 25 || status=1
exit $status
