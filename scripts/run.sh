#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit talvero.exe and runs it under Wine.
# With a display ($DISPLAY) the program runs there until it ends. Without one it
# runs in a display of its own, and a screenshot is saved to build/screenshot.png.
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
screenshot="$root/build/screenshot.png"
(cd "$workdir" && wine "$exe") &
program=$!
sleep "${TALVERO_SHOT_DELAY:-4}"
import -display "$DISPLAY" -window root "$screenshot"
echo "run: screenshot of the running program saved to $screenshot"
if kill -0 "$program" 2>/dev/null; then
    kill "$program" 2>/dev/null || true
fi
wait "$program" 2>/dev/null || true
