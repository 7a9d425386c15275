#!/usr/bin/env bash
# Runs every benchmark with one command: grayBench on the host, then under Wine,
# for each Windows build that runs on this machine, frameBench and listBench on the
# 1920x1080 desk and modeBench on that desk and on the desk of two monitors.
# modeBench sets its figures beside a reference build of an older commit
# (TALVERO_BENCH_REFERENCE; by default the last one that converted and presented
# every frame whole), built once under build/bench-reference. The figures go to
# the terminal and to build/bench/. Takes about ten minutes a Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
reference=${TALVERO_BENCH_REFERENCE:-a21363a}

. scripts/wineWorld.sh
talvero_world_loader "$root"
arches="x86_64"
[ "$TALVERO_RUNS_32BIT" = 1 ] && arches="x86_64 i686"

builds="host"
for arch in $arches; do builds="$builds win-$arch"; done
TALVERO_BUILDS="$builds" scripts/build.sh

# The reference: the old commit's sources, its talvero.exe only.
reference_root=build/bench-reference
if [ "$(cat "$reference_root/commit" 2>/dev/null)" != "$reference" ]; then
    rm -rf "$reference_root"
    mkdir -p "$reference_root/src"
    git archive "$reference" | tar -x -C "$reference_root/src"
    echo "$reference" >"$reference_root/commit"
fi
for arch in $arches; do
    (cd "$reference_root/src" && TALVERO_BUILDS="win-$arch" TALVERO_BUILD_TARGET=talvero scripts/build.sh)
done

out=build/bench
mkdir -p "$out"
build/host/bench/grayBench | tee "$out/grayBench.txt"
# Each run in a world of its own: a benchmark that fails leaves nothing behind
# (its helper processes included) for the next one to measure.
run_in_world() {
    local desk=$1 name=$2
    shift 2
    talvero_world_start "$root" "$desk"
    "$@" 2>&1 | tr -d '\r' | tee "$out/$name.txt"
    talvero_world_stop
}

frame_and_list() {
    local bench=$1
    wine "$bench/frameBench.exe"
    # Into a file: helper processes it leaves behind must not hold the pipe open.
    local list=$out/listBench.part
    timeout "$LIST_BENCH_LIMIT_S" wine "$bench/listBench.exe" >"$list" ||
        echo "listBench: no result within $LIST_BENCH_LIMIT_S s" >>"$list"
    cat "$list"
    rm -f "$list"
}

LIST_BENCH_LIMIT_S=120
for arch in $arches; do
    bench=build/win-$arch/bench/win
    # Wine's Z: drive is the Linux root.
    export TALVERO_REFERENCE_EXE=Z:$(cd "$reference_root/src/build/win-$arch/app" && pwd | tr / '\\')\\talvero.exe
    run_in_world 1920x1080x24 "win-$arch-frame-list" frame_and_list "$bench"
    for desk in 1920x1080x24 two-monitors; do
        echo "== win-$arch, desk $desk"
        run_in_world "$desk" "win-$arch-modes-$desk" wine "$bench/modeBench.exe"
    done
done
