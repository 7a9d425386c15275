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
    shift
    reports="$root/$dir/gtest-results"
    rm -rf "$reports" "$dir/skipped-programs.txt"
    mkdir -p "$reports"
    case "$dir" in
        build/win-*) reports="Z:$(echo "$reports" | tr / '\\')\\" ;;
        *) reports="$reports/" ;;
    esac
    GTEST_OUTPUT="xml:$reports" ctest --test-dir "$dir" --output-on-failure --timeout 900 "$@" \
        >"$dir/ctest.log" 2>&1 || true
    grep -E 'Test +#|tests passed|FAILED|Failure|Expected|Which is|Value of|Actual' "$dir/ctest.log" || true
}

echo "== host unit tests"
run_suite build/host

talvero_world_start "$root"
echo "== Windows tests (x86_64) under Wine on $DISPLAY"
run_suite build/win-x86_64
if [ "$TALVERO_RUNS_32BIT" = 1 ]; then
    echo "== Windows tests (i686) under Wine on $DISPLAY"
    run_suite build/win-i686
else
    # The 32-bit programs cannot start here at all; only the import check runs.
    echo "== Windows tests (i686) skipped: this system cannot run 32-bit programs (winTests and e2eTests counted as skipped; the import check runs)"
    run_suite build/win-i686 -R xpImports
    printf '%s\n' winTests e2eTests >build/win-i686/skipped-programs.txt
fi

python3 "$root/scripts/summarize.py" build/host build/win-x86_64 build/win-i686
