#!/usr/bin/env bash
# Manual check that a file dragged from a Linux desktop program onto a key of the running panel
# reaches the key (Wine turns the X drag into WM_DROPFILES). Drags a file of the build folder onto
# S5 with a GTK drag source and xdotool, then saves a screenshot: S5 must show the file's name.
# Needs: xdotool python3-gi gir1.2-gtk-3.0 (installed here if missing). Run after 'make'.
set -euo pipefail
cd "$(dirname "$0")/../.."
for p in xdotool python3-gi gir1.2-gtk-3.0; do
    dpkg -s "$p" >/dev/null 2>&1 || DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends "$p" </dev/null
done
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export BUILD_DIR
source scripts/wine-env.sh
start_virtual_display
trap 'pkill -f drag-source.py || true; stop_virtual_display' EXIT
start_wineserver
(cd "$BUILD_DIR/stage" && wine VuViravuz.exe >/dev/null 2>&1 &)
for _ in $(seq 1 100); do
    xwininfo -root -tree | grep -q '"Corvane Key Settings"' && break
    sleep 0.1
done
file=$(mktemp "$BUILD_DIR/dropped-XXXX.txt")
/usr/bin/python3 scripts/desktop-drop/drag-source.py "$file" &
sleep 2
# The middle of key S5, from the panel's place on the screen and the template's layout.
read -r px py < <(xwininfo -name "Corvane Key Settings" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
tx=$((px + 345)); ty=$((py + 376))
xdotool mousemove 80 60 sleep 0.5 mousedown 1 sleep 0.5 mousemove 90 65 sleep 0.3
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((80 + (tx - 80) * step / 8)) $((60 + (ty - 60) * step / 8)) sleep 0.3
done
xdotool mouseup 1
sleep 2
import -display "$DISPLAY" -window root "$BUILD_DIR/desktop-drop.png"
echo "Dropped $file on S5; screenshot: $BUILD_DIR/desktop-drop.png"
