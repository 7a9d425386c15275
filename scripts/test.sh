#!/usr/bin/env bash
# Runs every TALVERO test: the host unit tests, then the Windows tests of both
# builds under Wine in a display and prefix of their own. Installs and builds first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
# The release files, which the release tests below check.
"$root/scripts/package.sh"

# shellcheck source=wineWorld.sh
. "$root/scripts/wineWorld.sh"
trap talvero_world_stop EXIT

# Each GoogleTest program writes an XML report into gtest-results/ of the output
# directory (by default the build's own), and ctest's log goes to ctest.log there.
# run_suite [--output DIR] BUILD_DIR [CTEST_ARGS...]
run_suite() {
    local out=""
    if [ "$1" = --output ]; then
        out=$2
        shift 2
    fi
    local dir=$1 reports
    shift
    out=${out:-$dir}
    reports="$root/$out/gtest-results"
    rm -rf "$reports" "$out/skipped-programs.txt" "$out/failed-programs.txt"
    mkdir -p "$reports"
    case "$dir" in
        build/win-*) reports="Z:$(echo "$reports" | tr / '\\')\\" ;;
        *) reports="$reports/" ;;
    esac
    GTEST_OUTPUT="xml:$reports" ctest --test-dir "$dir" --output-on-failure --timeout 900 "$@" \
        >"$out/ctest.log" 2>&1 || true
    grep -E 'Test +#|tests passed|FAILED|Failure|Expected|Which is|Value of|Actual' "$out/ctest.log" || true
}

echo "== host unit tests"
run_suite build/host

# The suites named TwoMonitors* need a desk of two monitors, and the Release suite
# installs into a prefix of its own: both run below, never in this world. Wine hands
# GTEST_FILTER to the Windows programs as it does GTEST_OUTPUT.
talvero_world_start "$root"
echo "== Windows tests (x86_64) under Wine on $DISPLAY"
GTEST_FILTER='-TwoMonitors*:Release*' run_suite build/win-x86_64
if [ "$TALVERO_RUNS_32BIT" = 1 ]; then
    echo "== Windows tests (i686) under Wine on $DISPLAY"
    GTEST_FILTER='-TwoMonitors*:Release*' run_suite build/win-i686
else
    # The 32-bit programs cannot start here at all; only the import check runs.
    echo "== Windows tests (i686) skipped: this system cannot run 32-bit programs (winTests, e2eTests, the two-monitor e2eTests and the x86 installer's tests counted as skipped; the import check runs)"
    run_suite build/win-i686 -R xpImports
    printf '%s\n' winTests e2eTests 'e2eTests (two monitors)' 'e2eTests (release)' >build/win-i686/skipped-programs.txt
fi
talvero_world_stop

summaries=(build/host build/win-x86_64 build/win-i686)

# Runs the e2eTests that FILTER names, for each build that runs here, in a world
# of the Wine prefix build/PREFIX; reports in BUILD/OUT/. LABEL names the run in
# its lines, PROGRAM in failed-programs.txt when the prefix cannot be made.
# run_in_prefix OUT PREFIX FILTER LABEL PROGRAM
run_in_prefix() {
    local out=$1 prefix=$2 filter=$3 label=$4 program=$5 build
    local builds=(build/win-x86_64)
    [ "$TALVERO_RUNS_32BIT" = 1 ] && builds+=(build/win-i686)
    rm -rf "build/win-x86_64/$out" "build/win-i686/$out"
    for build in "${builds[@]}"; do
        mkdir -p "$build/$out"
        summaries+=("$build/$out")
    done
    if TALVERO_WINEPREFIX="$root/build/$prefix" talvero_world_start "$root"; then
        for build in "${builds[@]}"; do
            echo "== $label (${build#build/win-}) under Wine on $DISPLAY"
            GTEST_FILTER=$filter run_suite --output "$build/$out" "$build" -R '^e2eTests$'
        done
    else
        echo "== $label: its Wine prefix could not be made"
        for build in "${builds[@]}"; do
            echo "$program" >"$build/$out/failed-programs.txt"
        done
    fi
    talvero_world_stop
}

# The installers of dist/, each tested by the e2eTests of its own bitness, in a
# fresh prefix: what a person's Windows holds before the first install.
rm -rf build/release-wineprefix
run_in_prefix release release-wineprefix 'Release*' 'release tests' 'e2eTests (release)'

# The window list once more on a desk without the list's face: a Wine prefix as
# Wine makes it, without the test world's font mapping.
TALVERO_PLAIN_FONTS=1 run_in_prefix plain-fonts plain-wineprefix 'UnicodeList*' \
    "window list without the list's face" 'e2eTests (plain fonts)'

# The end-to-end suites for two monitors, on an Xorg display whose primary is
# 1920x1080 with a 1280x1024 secondary left of it. Their reports and logs go to
# BUILD/two-monitors/. A display that does not start fails the run.
two_monitor_builds=(build/win-x86_64)
[ "$TALVERO_RUNS_32BIT" = 1 ] && two_monitor_builds+=(build/win-i686)
rm -rf build/win-x86_64/two-monitors build/win-i686/two-monitors
for build in "${two_monitor_builds[@]}"; do
    mkdir -p "$build/two-monitors"
    summaries+=("$build/two-monitors")
done
world_errors=$(mktemp)
if talvero_world_start "$root" two-monitors 2>"$world_errors"; then
    cat "$world_errors" >&2
    for build in "${two_monitor_builds[@]}"; do
        # A test that moved or detached a monitor and could not put it back must
        # not leave the next build's tests a different desk.
        if ! arranged=$(talvero_world_arrange "$DISPLAY" 2>&1); then
            echo "== two-monitor tests (${build#build/win-}): the two monitors could not be arranged again: $(echo "$arranged" | tr '\n' ' ')"
            echo 'e2eTests (two monitors)' >"$build/two-monitors/failed-programs.txt"
            continue
        fi
        echo "== two-monitor end-to-end tests (${build#build/win-}) under Wine on $DISPLAY"
        GTEST_FILTER='TwoMonitors*' run_suite --output "$build/two-monitors" "$build" -R '^e2eTests$'
    done
    talvero_world_stop
else
    cat "$world_errors" >&2
    why=$(sed -n 's/^world: //p' "$world_errors" | head -n 1)
    talvero_world_stop
    echo "== two-monitor tests: the two-monitor display did not start (${why:-no reason given})"
    for build in "${two_monitor_builds[@]}"; do
        echo 'e2eTests (two monitors)' >"$build/two-monitors/failed-programs.txt"
    done
fi
rm -f "$world_errors"

python3 "$root/scripts/summarize.py" "${summaries[@]}"
