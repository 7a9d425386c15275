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
for arch in $arches; do
    bench=build/win-$arch/bench/win
    reference_exe=$root/$reference_root/src/build/win-$arch/app/talvero.exe
    for desk in 1920x1080x24 two-monitors; do
        talvero_world_start "$root" "$desk"
        {
            echo "== win-$arch, desk $desk"
            if [ "$desk" = 1920x1080x24 ]; then
                wine "$bench/frameBench.exe"
                wine "$bench/listBench.exe"
            fi
            TALVERO_REFERENCE_EXE=$(winepath -w "$reference_exe") wine "$bench/modeBench.exe"
        } 2>&1 | tr -d '\r' | tee "$out/win-$arch-$desk.txt"
        talvero_world_stop
    done
done
