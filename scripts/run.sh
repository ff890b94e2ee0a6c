#!/usr/bin/env bash
# Runs the staged suite under Wine: the key panel starts the shortcut service itself. On a user's
# display the panel simply runs; without one it runs under Xvfb, a screenshot of the panel is
# saved to the path printed, and the panel is closed again.
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
(cd "$STAGE" && wine VuViravuz.exe) &
panel_pid=$!

# The panel is up once its window is mapped on the display.
shot="$BUILD_DIR/panel.png"
for _ in $(seq 1 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"Corvane Key Settings"'; then
        sleep 2 # let the panel finish its first paint before the picture is taken
        import -display "$DISPLAY" -window root "$shot"
        echo "The key panel is running under Xvfb; screenshot: $shot"
        break
    fi
    if ! kill -0 "$panel_pid" 2>/dev/null; then
        echo "The key panel ended before it was shown." >&2
        exit 1
    fi
    sleep 0.1
done
[ -f "$shot" ] || { echo "The key panel did not appear." >&2; exit 1; }
wineserver -k
wait "$panel_pid" 2>/dev/null || true
