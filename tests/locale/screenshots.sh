#!/usr/bin/env bash
# Photographs the locale library's dialogs on a virtual screen at 96 and 144 dpi, for a person to
# look at: the key panel laid out for 6, 4, 3 and 2 keys and the clear confirmation.
#   BUILD_DIR=/abs/build tests/locale/screenshots.sh OUT_DIR
# Needs a built tree (locale_preview and the staged RuRoredo.DLL).
set -euo pipefail
cd "$(dirname "$0")/../.."
OUT_DIR=$(realpath -m "${1:?usage: screenshots.sh OUT_DIR}")
BUILD_DIR=$(realpath "${BUILD_DIR:-build}")
export BUILD_DIR
mkdir -p "$OUT_DIR"
source scripts/wine-env.sh
start_virtual_display
restore() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    stop_virtual_display
}
trap restore EXIT
start_wineserver

# Runs the preview with the given arguments, waits until its dialog is on screen, and saves the
# dialog's part of the screen as $1.png.
shoot() {
    local name=$1 work
    shift
    work=$(mktemp -d)
    wine "$BUILD_DIR/tests/locale_preview.exe" "$@" "$(winepath -w "$work/ready")" \
        "$(winepath -w "$work/done")" &
    local pid=$! i
    for i in $(seq 1 300); do
        [ -s "$work/ready" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/ready" ]; then
        echo "preview $* did not show its dialog" >&2
        wait "$pid" || true
        return 1
    fi
    read -r x y w h <"$work/ready"
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$OUT_DIR/$name.png"
    touch "$work/done"
    wait "$pid"
    rm -rf "$work"
    echo "$OUT_DIR/$name.png"
}

for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    for keys in 6 4 3 2; do
        shoot "panel-$keys-keys-$dpi" panel "$keys"
    done
    shoot "clear-$dpi" clear
done
