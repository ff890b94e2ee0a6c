#!/usr/bin/env bash
# Runs the staged suite under Wine: the key panel starts the shortcut service itself. On a user's
# display the panel simply runs; without one it runs under Xvfb, a screenshot of the panel is
# saved to the path printed, and the panel and the service are closed again. VV_LANGUAGE=ja runs
# it as a Japanese user has it: in a Japanese session, from a copy of the stage with the Japanese
# texts.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export BUILD_DIR
source scripts/wine-env.sh
STAGE="$BUILD_DIR/stage"
title="Corvane Key Settings"
if [ "${VV_LANGUAGE:-en}" = ja ]; then
    STAGE="$BUILD_DIR/japanese-suite"
    japanese_suite "$STAGE"
    japanese_session
    title="Corvane キー設定"
fi

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
if ! shoot_window "$title" "$shot"; then
    echo "The key panel did not appear." >&2
    exit 1
fi
echo "The key panel is running under Xvfb; screenshot: $shot"
kill "$panel_pid" 2>/dev/null || true
wait "$panel_pid" 2>/dev/null || true
