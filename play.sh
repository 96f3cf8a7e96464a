#!/usr/bin/env bash
# Builds the Linux program and starts it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh play
cmake --preset default >/dev/null
cmake --build --preset default --target kestrane-zivadorured 2>/dev/null || cmake --build --preset default

game=build/default/app/gtk/kestrane-zivadorured
if [ ! -x "$game" ]; then
    echo "The Linux program is not part of this build yet." >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    exit 1
fi
exec "$game" "$@"
