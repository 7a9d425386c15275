#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit talvero.exe and runs it under Wine.
# With a display ($DISPLAY) the program runs there until it ends. Without one it
# runs in a display of its own and three screenshots are saved: build/screenshot.png,
# the main window in colour, build/screenshot-gray.png, the same window grayed
# by "Make a top window into gray" pressed with the mouse, and
# build/screenshot-habit.png, the Habit dialog (File > Habit...) with a period typed in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
TALVERO_BUILDS=win-x86_64 "$root/scripts/build.sh"
exe="$root/build/win-x86_64/app/talvero.exe"
workdir="$root/build/run"          # the program keeps config.txt in its working directory
mkdir -p "$workdir"

# shellcheck source=wineWorld.sh
. "$root/scripts/wineWorld.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "${TALVERO_HEADLESS:-}" ]; then
    export WINEPREFIX="$root/build/wineprefix-run" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    talvero_world_loader "$root"
    talvero_world_fonts
    cd "$workdir" && exec wine "$exe"
fi

trap talvero_world_stop EXIT
talvero_world_start "$root" 1280x800x24
# The main window opens at (10, 10), 450 x 500; under Wine's default metrics the
# centre of its first button, "Make a top window into gray", lies at (48, 88).
window_crop=450x500+10+10
first_button_x=48
first_button_y=88
park_x=1000
park_y=700
shoot() {
    import -display "$DISPLAY" -window root -crop "$window_crop" +repage "$1"
    echo "run: $2 saved to $1"
}
(cd "$workdir" && wine "$exe") &
program=$!
sleep "${TALVERO_SHOT_DELAY:-4}"
shoot "$root/build/screenshot.png" "the main window in colour"
xdotool mousemove "$first_button_x" "$first_button_y" click 1 mousemove "$park_x" "$park_y"
sleep "${TALVERO_GRAY_DELAY:-6}"   # the frame rate shows after 100 frames
shoot "$root/build/screenshot-gray.png" "the main window grayed by its first button"
# Colour back (Ctrl+Alt+N), then File > Habit...: a period typed, the intensity
# at 60 % with the keys; the dialog is shot where it opened and left with Cancel.
xdotool key ctrl+alt+n
sleep 1
xdotool key alt+f
sleep 1
xdotool key h
dialog=""
for _ in $(seq 20); do
    dialog=$(xdotool search --name '^Habit$' 2>/dev/null | head -1) && [ -n "$dialog" ] && break
    sleep 0.5
done
if [ -n "$dialog" ]; then
    xdotool type --delay 30 "Mon-Fri 22:00-07:00 screen"
    xdotool key alt+i Home Next Next Next Next Next Next
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$root/build/screenshot-habit.png"
    echo "run: the Habit dialog saved to $root/build/screenshot-habit.png"
    xdotool key Escape
else
    echo "run: the Habit dialog did not open; no screenshot of it" >&2
fi
if kill -0 "$program" 2>/dev/null; then
    kill "$program" 2>/dev/null || true
fi
wait "$program" 2>/dev/null || true
