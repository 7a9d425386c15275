#!/usr/bin/env bash
# Runs every TALVERO test: the host unit tests, then the Windows tests of both
# builds under Wine in a display and prefix of their own. Installs and builds first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

# shellcheck source=wineWorld.sh
. "$root/scripts/wineWorld.sh"
trap talvero_world_stop EXIT

# Each GoogleTest program writes an XML report into the build's gtest-results/.
run_suite() {
    local dir=$1 reports
    reports="$root/$dir/gtest-results"
    rm -rf "$reports"
    mkdir -p "$reports"
    case "$dir" in
        build/win-*) reports="Z:$(echo "$reports" | tr / '\\')\\" ;;
        *) reports="$reports/" ;;
    esac
    GTEST_OUTPUT="xml:$reports" ctest --test-dir "$dir" --output-on-failure --timeout 900 \
        >"$dir/ctest.log" 2>&1 || true
    grep -E 'Test +#|tests passed|FAILED|Failure|Expected|Which is|Value of|Actual' "$dir/ctest.log" || true
}

echo "== host unit tests"
run_suite build/host

talvero_world_start "$root"
for arch in x86_64 i686; do
    echo "== Windows tests ($arch) under Wine on $DISPLAY"
    run_suite "build/win-$arch"
done

python3 "$root/scripts/summarize.py" build/host build/win-x86_64 build/win-i686
