#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (with the repository's
# .clang-format) makes of it, and names the places. Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed (tools/install-deps.sh installs it)" >&2
    exit 1
fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ ${#files[@]} -eq 0 ]; then
    echo "no C++ files found to check" >&2
    exit 1
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "Some files are not formatted; run: clang-format -i <file>..." >&2
    exit 1
fi
echo "${#files[@]} C++ files formatted as .clang-format says"
