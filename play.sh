#!/usr/bin/env bash
# Builds the Linux program (and only what it needs) and starts it.
#   ./play.sh --web   builds the browser program instead and serves its page on 127.0.0.1
#                     (port 8000, or KZ_WEB_PORT)
set -euo pipefail
cd "$(dirname "$0")"

if [ "${1:-}" = "--web" ]; then
    tools/install-deps.sh web
    cmake --preset web >/dev/null
    if ! cmake --build --preset web --target kz_web_page; then
        echo "The browser program could not be built (see above)." >&2
        exit 1
    fi
    port="${KZ_WEB_PORT:-8000}"
    python=python3
    if [ -x /usr/bin/python3 ]; then python=/usr/bin/python3; fi
    echo "The game is served at http://127.0.0.1:$port/ (Ctrl+C stops the server)."
    exec "$python" -m http.server --bind 127.0.0.1 --directory build/web/app/web/page "$port"
fi

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
