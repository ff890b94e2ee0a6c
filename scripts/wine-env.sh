# Sourced by the run and test scripts: a private, quiet Wine prefix under the build folder and
# one virtual display with a persistent wineserver for a whole run.
BUILD_DIR=${BUILD_DIR:-$(pwd)/build}
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
# No menu entries or file types of the prefix in the real home folder (winemenubuilder).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# Wine names files on the Unix side in the locale's charset: a machine whose locale is plain C
# could not hold a file name beyond ASCII that a test (or a user) gives.
# A Japanese session (japanese_session, or a Japanese test run) keeps its own.
[ "${LC_ALL:-}" = ja_JP.UTF-8 ] || export LC_ALL=C.UTF-8

# Makes the Wine programs started from here on run in a Japanese session: code page 932 and a
# Japanese interface, from the Japanese glibc locale that the build generates into the build
# folder (with a locale glibc lacks, Wine cannot name a file beyond ASCII).
japanese_session() {
    export LOCPATH="$BUILD_DIR/locale"
    # The shell itself does not look in LOCPATH and would warn that it has no such locale.
    { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
}

# Fills folder $1 with the staged suite as a Japanese user has it installed: each Japanese text
# under the English one's name.
japanese_suite() {
    local name
    rm -rf "$1"
    cp -r "$BUILD_DIR/stage" "$1"
    for name in RuRoredo.DLL Corvane.chm CvnSKey.ini Corvane.ini; do
        mv "$1/${name%.*}JPN.${name##*.}" "$1/$name"
    done
}

wine_prefix_ready() { [ -f "$WINEPREFIX/.vv-ready" ]; }

# A new prefix links the user's Desktop, Documents and the like to the real home folder; tests
# fill those folders, so they must be the prefix's own.
own_user_folders() {
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm "$link"
            mkdir "$link"
        fi
    done
}

# Creates the prefix once: fonts linked in, no crash dialog, unmanaged windows, Japanese faces,
# user folders of its own.
ensure_wine_prefix() {
    if wine_prefix_ready; then
        own_user_folders
        return 0
    fi
    echo "Creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    own_user_folders
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

# Drive letters of the kinds a working folder must not be on, for the tests: Q: a CD drive, R: a
# removable disk, N: a network drive, each a folder under the build folder. Wine's drive service
# reads the kinds only when it starts, so this comes before start_wineserver.
map_test_drives() {
    local letter kind reg="$WINEPREFIX/vv-drives.reg"
    ensure_wine_prefix
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' >"$reg"
    for letter in q:cdrom r:floppy n:network; do
        kind=${letter#*:}
        letter=${letter%%:*}
        mkdir -p "$BUILD_DIR/test-drives/$kind"
        ln -sfn "$BUILD_DIR/test-drives/$kind" "$WINEPREFIX/dosdevices/$letter:"
        printf '"%s:"="%s"\n' "$letter" "$kind" >>"$reg"
    done
    wineserver -k >/dev/null 2>&1 || true
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
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

# The X id of the shown top-level window titled $1; empty when there is none.
shown_window_id() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | grep -F "\"$1\":" | awk '{print $1}'); do
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$id"
            return
        fi
    done
}

# Waits (up to 30 s) until a window titled $1 is shown and done painting, that is until two looks
# at its pixels a moment apart agree, and saves it as the PNG file $2. Fails when it never shows.
shoot_window() {
    local title=$1 out=$2 id previous="" current _
    for _ in $(seq 1 300); do
        id=$(shown_window_id "$title")
        if [ -n "$id" ]; then
            current=$(import -display "$DISPLAY" -window "$id" rgb:- 2>/dev/null | md5sum)
            if [ "$current" = "$previous" ]; then
                import -display "$DISPLAY" -window "$id" "$out"
                return 0
            fi
            previous=$current
        fi
        sleep 0.1
    done
    return 1
}
