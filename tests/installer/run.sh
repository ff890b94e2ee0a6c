#!/usr/bin/env bash
# Runs the installer tests ($1, with the rest of the arguments) in a Wine prefix of their own, made
# afresh: a machine that has never seen the suite, with nothing of an earlier run or of the other
# tests in it. The prefix goes again afterwards.
set -euo pipefail
test_program=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh"
export WINEPREFIX
WINEPREFIX="$(cd "$(dirname "$test_program")" && pwd)/installer-prefix"
remove_prefix() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
remove_prefix
trap remove_prefix EXIT
ensure_wine_prefix >/dev/null
wine "$test_program" "$@"
