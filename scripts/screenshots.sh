#!/usr/bin/env bash
# Photographs the real key panel for every key count, its settings and detail dialogs, the help
# window, a message box, and the dialog templates of the locale library, on a virtual screen at 96
# and 144 dpi, for a person to look at:
#   scripts/screenshots.sh [--japanese] [OUT_DIR]     (default: build/screenshots)
# Needs a built tree. The panel runs from a copy of the stage whose Corvane.ini gives the count;
# with --japanese, in a Japanese session from a copy with the Japanese texts.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=$(realpath "${BUILD_DIR:-build}")
export BUILD_DIR
source scripts/wine-env.sh
suite="$BUILD_DIR/screenshot-suite"
# The windows' titles, which the shots find them by.
panel="Corvane Key Settings" settings="Key Target" detail="Key Details" help="Corvane Keys Help"
clear="Clear Key"
if [ "${1:-}" = --japanese ]; then
    shift
    japanese_session
    japanese_suite "$suite"
    panel="Corvane キー設定" settings="キーの割り当て先" detail="キーの詳細"
    help="Corvane キー ヘルプ" clear="キーの解除"
else
    rm -rf "$suite"
    cp -r "$BUILD_DIR/stage" "$suite"
fi
OUT_DIR=$(realpath -m "${1:-$BUILD_DIR/screenshots}")
mkdir -p "$OUT_DIR"
start_virtual_display
restore() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
    stop_virtual_display
}
trap restore EXIT
start_wineserver

# The suite without its key settings file, whose panel says so in a message box.
broken="$BUILD_DIR/screenshot-broken-suite"
rm -rf "$broken"
cp -r "$suite" "$broken"
rm "$broken/CvnSKey.ini"

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
        shoot "$panel" "panel-$keys-keys-$dpi" \
            wine "$suite/VuViravuz.exe"
    done
    # The settings dialog of the real panel, opened by its Settings button.
    wine "$suite/VuViravuz.exe" &
    pid=$!
    if shoot_window "$panel" "$OUT_DIR/.panel.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "$panel" 908 &&
        shoot_window "$settings" "$OUT_DIR/settings-$dpi.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "$settings" 926 && sleep 1 &&
        shoot_window "$settings" "$OUT_DIR/settings-folder-$dpi.png"; then
        echo "$OUT_DIR/settings-$dpi.png"
        echo "$OUT_DIR/settings-folder-$dpi.png"
    else
        echo "settings-$dpi: the settings dialog did not appear" >&2
    fi
    # The detail dialog of the first key (assigned by default), its hold option turned on.
    if wine "$BUILD_DIR/tools/press_button.exe" "$settings" 2 &&
        wine "$BUILD_DIR/tools/press_button.exe" "$panel" 909 &&
        shoot_window "$detail" "$OUT_DIR/.detail.png" &&
        wine "$BUILD_DIR/tools/press_button.exe" "$detail" 912 && sleep 1 &&
        shoot_window "$detail" "$OUT_DIR/detail-$dpi.png"; then
        echo "$OUT_DIR/detail-$dpi.png"
    else
        echo "detail-$dpi: the detail dialog did not appear" >&2
    fi
    # The help file, opened by the detail dialog's Help button (Wine shows no page without Gecko).
    if wine "$BUILD_DIR/tools/press_button.exe" "$detail" 57670 &&
        shoot_window "$help" "$OUT_DIR/help-$dpi.png"; then
        echo "$OUT_DIR/help-$dpi.png"
    else
        echo "help-$dpi: the help window did not appear" >&2
    fi
    rm -f "$OUT_DIR/.detail.png"
    rm -f "$OUT_DIR/.panel.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    shoot Corvane "message-$dpi" wine "$broken/VuViravuz.exe"
    shoot "$clear" "clear-$dpi" \
        wine "$BUILD_DIR/tools/dialog_preview.exe" "$(winepath -w "$suite/RuRoredo.DLL")" 200
done
