#!/usr/bin/env bash
# Photographs the real key panel for every key count, its settings and detail dialogs, the help
# window, and the dialog templates of the locale library, on a virtual screen at 96 and 144 dpi,
# for a person to look at:
#   scripts/screenshots.sh [OUT_DIR]        (default: build/screenshots)
# Needs a built tree. The panel runs from a copy of the stage whose Corvane.ini gives the count.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${BUILD_DIR:-build}")
export BUILD_DIR
OUT_DIR=$(realpath -m "${1:-$BUILD_DIR/screenshots}")
mkdir -p "$OUT_DIR"
source scripts/wine-env.sh
start_virtual_display
restore() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    stop_virtual_display
}
trap restore EXIT
start_wineserver

suite="$BUILD_DIR/screenshot-suite"
rm -rf "$suite"
cp -r "$BUILD_DIR/stage" "$suite"

# Runs a program in the background until its window titled $1 is photographed as $2.png.
shoot() {
    local title=$1 name=$2 pid
    shift 2
    "$@" &
    pid=$!
    if shoot_window "$title" "$OUT_DIR/$name.png"; then
        echo "$OUT_DIR/$name.png"
    else
        echo "$name: the window \"$title\" did not appear" >&2
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    for keys in 6 5 4 3 2 1; do
        sed -i "s/^KeyCount=.*/KeyCount=$keys/" "$suite/Corvane.ini"
        shoot "Corvane Key Settings" "panel-$keys-keys-$dpi" \
            wine "$suite/VuViravuz.exe"
    done
    # The settings dialog of the real panel, opened by its Settings button.
    wine "$suite/VuViravuz.exe" &
    pid=$!
    if shoot_window "Corvane Key Settings" "$OUT_DIR/.panel.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "Corvane Key Settings" 908 &&
        shoot_window "Key Target" "$OUT_DIR/settings-$dpi.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "Key Target" 926 && sleep 1 &&
        shoot_window "Key Target" "$OUT_DIR/settings-folder-$dpi.png"; then
        echo "$OUT_DIR/settings-$dpi.png"
        echo "$OUT_DIR/settings-folder-$dpi.png"
    else
        echo "settings-$dpi: the settings dialog did not appear" >&2
    fi
    # The detail dialog of the first key (assigned by default), its hold option turned on.
    if wine "$BUILD_DIR/tools/press_button.exe" "Key Target" 2 &&
        wine "$BUILD_DIR/tools/press_button.exe" "Corvane Key Settings" 909 &&
        shoot_window "Key Details" "$OUT_DIR/.detail.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "Key Details" 912 && sleep 1 &&
        shoot_window "Key Details" "$OUT_DIR/detail-$dpi.png"; then
        echo "$OUT_DIR/detail-$dpi.png"
    else
        echo "detail-$dpi: the detail dialog did not appear" >&2
    fi
    # The help file, opened by the detail dialog's Help button (Wine shows no page without Gecko).
    if wine "$BUILD_DIR/tools/press_button.exe" "Key Details" 57670 &&
        shoot_window "Corvane Keys Help" "$OUT_DIR/help-$dpi.png"; then
        echo "$OUT_DIR/help-$dpi.png"
    else
        echo "help-$dpi: the help window did not appear" >&2
    fi
    rm -f "$OUT_DIR/.detail.png"
    rm -f "$OUT_DIR/.panel.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    shoot "Clear Key" "clear-$dpi" \
        wine "$BUILD_DIR/tools/dialog_preview.exe" "$(winepath -w "$suite/RuRoredo.DLL")" 200
done
