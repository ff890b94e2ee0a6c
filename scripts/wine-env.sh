# Sourced by the run and test scripts: a private, quiet Wine prefix under the build folder and
# one virtual display with a persistent wineserver for a whole run.
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

wine_prefix_ready() { [ -f "$WINEPREFIX/.vv-ready" ]; }

# Creates the prefix once: fonts linked in, no crash dialog, unmanaged windows, Japanese faces.
ensure_wine_prefix() {
    wine_prefix_ready && return 0
    echo "Creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    local reg="$WINEPREFIX/vv-settings.reg"
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060
REG
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.vv-ready"
}

# Starts one Xvfb on a free display number.
start_virtual_display() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
}

# A persistent wineserver bound to the current display (prefix made first if needed).
start_wineserver() {
    ensure_wine_prefix
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
    wineserver -p
    # Start the prefix's background services now, detached from any output pipe: started by the
    # first test instead, they would inherit its pipe and keep the test runner waiting for EOF.
    wine wineboot </dev/null >/dev/null 2>&1
}

stop_virtual_display() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}
