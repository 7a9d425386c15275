# Sourced by the test and run scripts: a world of our own for Windows programs.
# An Xvfb display on a free number, a Wine prefix inside the build tree (made once
# and reused) and one persistent wineserver. Stops only what it started, by pid.
# Every step that fails says which one and how, and the start returns 1.
#
# "talvero_world_start ROOT two-monitors" gives a desk of two monitors instead: an
# Xorg display with the dummy driver, whose RandR outputs Wine takes for monitors
# (Xvfb shows Wine a single one). The primary is 1920x1080; left of it, top edges
# level, a 1280x1024 secondary, which Windows programs see at (-1280,0)-(0,1024),
# with nothing below it (the primary is taller).

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

# SCREEN is an Xvfb screen (WIDTHxHEIGHTxDEPTH) or "two-monitors". TALVERO_WINEPREFIX
# names another prefix than build/wineprefix.
talvero_world_start() {
    local root=$1 screen=${2:-1920x1080x24}
    export WINEPREFIX=${TALVERO_WINEPREFIX:-$root/build/wineprefix}
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    talvero_world_loader "$root"
    if ! command -v wine >/dev/null; then
        echo "world: wine is missing: run scripts/setup.sh" >&2
        return 1
    fi

    local display=90
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    if [ "$screen" = two-monitors ]; then
        talvero_world_two_monitors "$root" "$display" || return 1
    else
        if ! command -v Xvfb >/dev/null; then
            echo "world: Xvfb is missing: run scripts/setup.sh" >&2
            return 1
        fi
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
    fi
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

# Starts Xorg with the dummy driver on :DISPLAY and arranges the two monitors with
# xrandr. Its config and log are kept in build/two-monitor-display/.
talvero_world_two_monitors() {
    local root=$1 display=$2
    local dir="$root/build/two-monitor-display"
    # The server itself, not Debian's /usr/bin/Xorg wrapper: the wrapper refuses
    # users who are not on a console, and the dummy driver needs neither root nor a VT.
    local xorg=/usr/lib/xorg/Xorg
    if [ ! -x "$xorg" ] || [ ! -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] \
        || ! command -v xrandr >/dev/null || ! command -v cvt >/dev/null; then
        echo "world: Xorg, its dummy driver or xrandr is missing: run scripts/setup.sh" >&2
        return 1
    fi
    mkdir -p "$dir"
    # Virtual holds the starting layout; the dummy driver grows the screen when a
    # test moves a monitor further out. No input devices: SendInput and xdotool
    # go through the server's own core pointer and keyboard, as with Xvfb.
    cat >"$dir/xorg.conf" <<'XORG'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3200 1080
    EndSubSection
EndSection
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
XORG
    # -novtswitch: on a machine with a console, never switch the console to our VT.
    "$xorg" ":$display" -config "$dir/xorg.conf" -logfile "$dir/xorg.log" \
        -noreset -novtswitch -nolisten tcp </dev/null >"$dir/xorg.out" 2>&1 &
    TALVERO_XORG_PID=$!
    local tries=0
    until [ -e "/tmp/.X11-unix/X$display" ] && DISPLAY=":$display" xrandr --query >/dev/null 2>&1; do
        tries=$((tries + 1))
        if [ $tries -gt 150 ] || ! kill -0 "$TALVERO_XORG_PID" 2>/dev/null; then
            echo "world: Xorg with the dummy driver did not start on :$display (log: $dir/xorg.log)" >&2
            # Its errors, less those it always has here (no dbus, no input drivers).
            grep -F '] (EE) ' "$dir/xorg.log" 2>/dev/null \
                | grep -vE 'dbus|"mouse"|"kbd"|libinput|input driver|\(EE\) *$|Please also check' \
                | head -n 5 | sed 's/^/world:   /' >&2
            return 1
        fi
        sleep 0.1
    done
    local arranged
    if ! arranged=$(talvero_world_arrange ":$display" 2>&1); then
        echo "world: the two monitors could not be arranged on :$display" >&2
        printf '%s\n' "$arranged" | tail -n 10 | sed 's/^/world:   /' >&2
        return 1
    fi
}

# DUMMY0 becomes the primary, 1920x1080, and DUMMY1 the secondary, 1280x1024,
# left of it; Wine puts the primary at (0,0) and the rest around it. Checks the
# result as the server reports it.
talvero_world_arrange() {
    local display=$1
    talvero_world_mode "$display" DUMMY0 1920x1080 || return 1
    talvero_world_mode "$display" DUMMY1 1280x1024 || return 1
    DISPLAY=$display xrandr --output DUMMY0 --mode 1920x1080 --pos 1280x0 --primary \
        --output DUMMY1 --mode 1280x1024 --pos 0x0 || return 1
    local query
    query=$(DISPLAY=$display xrandr --query) || return 1
    if ! grep -q '^DUMMY0 connected primary 1920x1080+1280+0 ' <<<"$query" \
        || ! grep -q '^DUMMY1 connected 1280x1024+0+0 ' <<<"$query"; then
        echo "the outputs are not where they were put:"
        grep ' connected' <<<"$query"
        return 1
    fi
}

# Lets OUTPUT show a mode named WIDTHxHEIGHT: the driver's own if it has one (it
# lists its modes under DUMMY0), else one that cvt computes.
talvero_world_mode() {
    local display=$1 output=$2 size=$3 modeline
    if ! DISPLAY=$display xrandr --query | grep -q "^ *$size "; then
        modeline=$(cvt "${size%x*}" "${size#*x}" 60 | sed -n 's/^Modeline "[^"]*" *//p')
        # shellcheck disable=SC2086 # the modeline's numbers are separate arguments
        DISPLAY=$display xrandr --newmode "$size" $modeline || return 1
    fi
    DISPLAY=$display xrandr --addmode "$output" "$size"
}

# The main window's controls ask for the face "MS Gothic" by its Japanese name,
# which Windows has on every system from Vista on. Wine has no such face and would
# take a font without Japanese letters; map the name to IPAGothic
# (fonts-ipafont-gothic), as Windows' own MS Gothic would serve, and link IPAGothic
# to DejaVu Sans for the letters it lacks (Greek with accents), as Windows links its
# fonts (FontLink\SystemLink). TALVERO_PLAIN_FONTS=1 leaves the prefix as Wine makes
# it (the tests of a desk without that face).
talvero_world_fonts() {
    [ "${TALVERO_PLAIN_FONTS:-0}" = 1 ] && return 0
    local done="$WINEPREFIX/.talvero-fonts-unicode-$TALVERO_RUNS_32BIT"   # which views are mapped
    [ -f "$done" ] && return 0
    mkdir -p "$WINEPREFIX"
    local reg="$WINEPREFIX/talvero-fonts.reg"
    python3 - "$reg" <<'PYTHON'
import sys
name = '\uFF2D\uFF33\u3000\u30B4\u30B7\u30C3\u30AF'
link = ','.join('%02x' % b for b in 'DejaVuSans.ttf,DejaVu Sans\0\0'.encode('utf-16-le'))
key = 'HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\'
text = ('Windows Registry Editor Version 5.00\r\n\r\n'
        '[' + key + 'FontSubstitutes]\r\n"%s"="IPAGothic"\r\n\r\n' % name +
        '[' + key + 'FontLink\\SystemLink]\r\n"IPAGothic"=hex(7):%s\r\n' % link)
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
    local server
    for server in "${TALVERO_XVFB_PID:-}" "${TALVERO_XORG_PID:-}"; do
        [ -n "$server" ] || continue
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    done
    TALVERO_WINESERVER_PID=""
    TALVERO_XVFB_PID=""
    TALVERO_XORG_PID=""
}
