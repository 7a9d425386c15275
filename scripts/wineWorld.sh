# Sourced by the test and run scripts: a world of our own for Windows programs.
# An Xvfb display on a free number, a Wine prefix inside the build tree (made once
# and reused) and one persistent wineserver. Stops only what it started, by pid.
# Every step that fails says which one and how, and the start returns 1.

# Finds out once whether this system runs 32-bit programs (some kernels refuse
# them: "Exec format error"). Where it does not, every Wine command goes through the
# 64-bit loader (scripts/wine64 stands in for Debian's wrapper) and TALVERO_RUNS_32BIT
# is 0, so the callers leave the 32-bit Windows programs out.
talvero_world_loader() {
    local root=$1
    [ -n "${TALVERO_RUNS_32BIT:-}" ] && return 0
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        TALVERO_RUNS_32BIT=1
    else
        TALVERO_RUNS_32BIT=0
        export PATH="$root/scripts/wine64:$PATH"
        export WINELOADER=/usr/lib/wine/wine64
    fi
    export TALVERO_RUNS_32BIT
}

# Runs one step of the world's set-up with its output kept aside; on failure says
# which step failed, its exit code and the end of its output.
talvero_world_step() {
    local step=$1 output status
    shift
    output=$(mktemp)
    if "$@" </dev/null >"$output" 2>&1; then
        rm -f "$output"
        return 0
    else
        status=$?
    fi
    echo "world: $step failed (exit code $status): $*" >&2
    tail -n 15 "$output" | sed 's/^/world:   /' >&2
    rm -f "$output"
    return 1
}

talvero_world_start() {
    local root=$1 screen=${2:-1920x1080x24}
    export WINEPREFIX="$root/build/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    talvero_world_loader "$root"
    if ! command -v Xvfb >/dev/null || ! command -v wine >/dev/null; then
        echo "world: Xvfb or wine is missing: run scripts/setup.sh" >&2
        return 1
    fi

    local display=90
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
    TALVERO_XVFB_PID=$!
    local tries=0
    until [ -e "/tmp/.X11-unix/X$display" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$TALVERO_XVFB_PID" 2>/dev/null; then
            echo "world: Xvfb did not start on :$display" >&2
            return 1
        fi
        sleep 0.1
    done
    export DISPLAY=":$display"

    if [ ! -f "$WINEPREFIX/.talvero-ready" ]; then
        echo "world: creating the Wine prefix (once)"
        mkdir -p "$WINEPREFIX"
        talvero_world_step "creating the Wine prefix" wineboot -i || return 1
        # Crashes end the program instead of waiting in a dialog; without a window
        # manager, unmanaged windows avoid a 2 s stall on every hide or destroy.
        talvero_world_step "turning off Wine's crash dialog" \
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return 1
        talvero_world_step "making Wine's windows unmanaged" \
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return 1
        talvero_world_step "waiting for the prefix's wineserver" wineserver -w || return 1
        touch "$WINEPREFIX/.talvero-ready"
    else
        # A wineserver left by an earlier run would be bound to an old display.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    wineserver -f -p &
    TALVERO_WINESERVER_PID=$!
    talvero_world_fonts || return 1
    # Start Wine's own services now, detached from our output: a service that
    # inherits a test's stdout keeps the pipe open and ctest waits for ever.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# The main window's controls ask for the Shift-JIS face "MS Gothic" by its Japanese
# name, which Windows has on every system. Wine has no such face and would take a
# CJK fallback without Latin letters; map the name, as Wine decodes it under code
# page 1252, to IPAGothic (fonts-ipafont-gothic), as Windows' own MS Gothic would serve.
talvero_world_fonts() {
    local done="$WINEPREFIX/.talvero-fonts-$TALVERO_RUNS_32BIT"   # which views are mapped
    [ -f "$done" ] && return 0
    mkdir -p "$WINEPREFIX"
    local reg="$WINEPREFIX/talvero-fonts.reg"
    python3 - "$reg" <<'PYTHON'
import sys
face = bytes.fromhex('826C8272814083538356836283' '4E')
# Wine maps the byte 0x81, undefined in code page 1252, to U+0081.
name = ''.join('\u0081' if c == 0x81 else bytes([c]).decode('cp1252') for c in face)
text = ('Windows Registry Editor Version 5.00\r\n\r\n'
        '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        '"%s"="IPAGothic"\r\n' % name)
open(sys.argv[1], 'wb').write(b'\xff\xfe' + text.encode('utf-16-le'))
PYTHON
    talvero_world_step "mapping the MS Gothic face" wine regedit /S "$reg" || return 1
    # The 32-bit build reads the redirected registry view; a system that cannot run
    # 32-bit programs has no 32-bit half to set up (and no 32-bit program to serve).
    if [ "$TALVERO_RUNS_32BIT" = 1 ]; then
        talvero_world_step "mapping the MS Gothic face for 32-bit programs" \
            wine 'C:\windows\syswow64\regedit.exe' /S "$reg" || return 1
    fi
    touch "$done"
}

talvero_world_stop() {
    if [ -n "${TALVERO_WINESERVER_PID:-}" ]; then
        # Ends every process of our prefix (only ours use it), then the server.
        wineserver -k 2>/dev/null || true
        kill "$TALVERO_WINESERVER_PID" 2>/dev/null || true
        wait "$TALVERO_WINESERVER_PID" 2>/dev/null || true
    fi
    if [ -n "${TALVERO_XVFB_PID:-}" ]; then
        kill "$TALVERO_XVFB_PID" 2>/dev/null || true
        wait "$TALVERO_XVFB_PID" 2>/dev/null || true
    fi
    TALVERO_WINESERVER_PID=""
    TALVERO_XVFB_PID=""
}
