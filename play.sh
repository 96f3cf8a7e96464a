#!/usr/bin/env bash
# Builds the Linux program (and only what it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh play
cmake --preset default >/dev/null
if ! cmake --build --preset default --target kestrane-zivadorured; then
    echo "The Linux program could not be built (see above)." >&2
    exit 1
fi

game=build/default/app/gtk/kestrane-zivadorured
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to open the game's window on: neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
    echo "Run this from a desktop session (or, for a virtual one: xvfb-run ./play.sh)." >&2
    exit 1
fi
exec "$game" "$@"
