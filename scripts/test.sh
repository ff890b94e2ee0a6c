#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine on one virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export BUILD_DIR
source scripts/wine-env.sh
start_virtual_display
trap stop_virtual_display EXIT
map_test_drives
start_wineserver
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300
