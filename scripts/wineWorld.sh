# Sourced by the test and run scripts: a world of our own for Windows programs.
# An Xvfb display on a free number, a Wine prefix inside the build tree (made once
# and reused) and one persistent wineserver. Stops only what it started, by pid.

talvero_world_start() {
    local root=$1 screen=${2:-1920x1080x24}
    export WINEPREFIX="$root/build/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="

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
        wineboot -i >/dev/null 2>&1
        # Crashes end the program instead of waiting in a dialog; without a window
        # manager, unmanaged windows avoid a 2 s stall on every hide or destroy.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.talvero-ready"
    else
        # A wineserver left by an earlier run would be bound to an old display.
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
    fi
    wineserver -f -p &
    TALVERO_WINESERVER_PID=$!
    # Start Wine's own services now, detached from our output: a service that
    # inherits a test's stdout keeps the pipe open and ctest waits for ever.
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
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
