#!/usr/bin/env bash
# Fails when a tracked C++ or JavaScript file differs from what clang-format (with the
# repository's .clang-format) makes of it, and names the places. Fix with: clang-format -i FILE...
# The JavaScript templates (*.js.in) are checked with each @NAME@ as a plain name, and fixed by
# hand.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
    echo "clang-format is not installed (tools/install-deps.sh installs it)" >&2
    exit 1
fi
# New files count before they are added.
mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.js' \
    '*.mjs' | sort -u)
mapfile -t templates < <(git ls-files --cached --others --exclude-standard -- '*.js.in' | sort -u)
if [ ${#files[@]} -eq 0 ]; then
    echo "no C++ or JavaScript files found to check" >&2
    exit 1
fi
status=0
clang-format --dry-run --Werror "${files[@]}" || status=1
for template in "${templates[@]}"; do
    if ! sed -E 's/@([A-Z_]+)@/KZ_TEMPLATE_\1/g' "$template" |
        clang-format --assume-filename="${template%.in}" |
        sed -E 's/KZ_TEMPLATE_([A-Z_]+)/@\1@/g' | diff -u "$template" - >&2; then
        echo "$template: not formatted as clang-format would (see the differences above)" >&2
        status=1
    fi
done
if [ $status -ne 0 ]; then
    echo "Some files are not formatted; run: clang-format -i <file>..." >&2
    exit 1
fi
echo "${#files[@]} C++ and JavaScript files and ${#templates[@]} templates formatted as .clang-format says"
