#!/usr/bin/env bash
# Runs the staged suite under Wine: the key panel starts the shortcut service itself. On a user's
# display the panel simply runs; without one it runs under Xvfb, a screenshot of the panel is
# saved to the path printed, and the panel and the service are closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export BUILD_DIR
source scripts/wine-env.sh
STAGE="$BUILD_DIR/stage"

if [ -n "${DISPLAY:-}" ]; then
    start_wineserver
    cd "$STAGE"
    exec wine VuViravuz.exe
fi

start_virtual_display
trap stop_virtual_display EXIT
start_wineserver
(cd "$STAGE" && exec wine VuViravuz.exe) &
panel_pid=$!

shot="$BUILD_DIR/panel.png"
if ! shoot_window "Corvane Key Settings" "$shot"; then
    echo "The key panel did not appear." >&2
    exit 1
fi
echo "The key panel is running under Xvfb; screenshot: $shot"
kill "$panel_pid" 2>/dev/null || true
wait "$panel_pid" 2>/dev/null || true
