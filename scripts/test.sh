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

passed=0
failed=0
run_suite() {
    local dir=$1 log
    log="$dir/ctest.log"
    if ctest --test-dir "$dir" --output-on-failure --timeout 900 >"$log" 2>&1; then :; fi
    grep -vE '^\s*$' "$log" | grep -vE '^(Test project|Start )' || true
    local p f
    p=$(grep -cE 'Test +#[0-9]+: .* Passed' "$log" || true)
    f=$(grep -cE 'Test +#[0-9]+: .*(\*\*\*|Failed|Not Run|Timeout|Exception)' "$log" || true)
    passed=$((passed + p))
    failed=$((failed + f))
}

echo "== host unit tests"
run_suite build/host

talvero_world_start "$root"
for arch in x86_64 i686; do
    echo "== Windows tests ($arch) under Wine on $DISPLAY"
    run_suite "build/win-$arch"
done

echo "all suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
