#!/usr/bin/env bash
# Builds the host tree (unit tests, benchmarks) and both Windows trees
# (talvero.exe and the Wine tests) under build/. TALVERO_BUILDS picks the trees,
# TALVERO_BUILD_ROOT puts them elsewhere and TALVERO_BUILD_TARGET builds one
# target of each (the release builds only talvero).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

configure_and_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    fi
    local log="$dir/build.log"
    if ! cmake --build "$dir" -j"$(nproc)" ${TALVERO_BUILD_TARGET:+--target "$TALVERO_BUILD_TARGET"} >"$log" 2>&1; then
        grep -E 'error|Error' "$log" | head -40 >&2
        echo "build: $dir failed (whole log: $log)" >&2
        return 1
    fi
    echo "build: $dir ok"
}

targets=${TALVERO_BUILDS:-"host win-x86_64 win-i686"}
build_root=${TALVERO_BUILD_ROOT:-build}
for target in $targets; do
    case "$target" in
        host) configure_and_build "$build_root/host" ;;
        win-*) configure_and_build "$build_root/$target" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-${target#win-}.cmake" ;;
    esac
done
