#!/usr/bin/env bash
# Makes a release of both Windows builds into DIST (default dist/):
#   talvero-VERSION-win32.zip, talvero-VERSION-win64.zip   portable, folder talvero-VERSION/
#   talvero-VERSION-setup-x86.exe, talvero-VERSION-setup-x64.exe   NSIS installers
#   SHA256SUMS
# Usage: scripts/package.sh [BUILD_ROOT [DIST]]; BUILD_ROOT (default build/) holds the
# trees win-x86_64 and win-i686, built here as far as talvero.exe needs.
# scripts/package.sh --version prints the version and does nothing else.
#
# The zips are reproducible: the same sources give the same bytes. Their entries
# come in a fixed order with one time stamp, SOURCE_DATE_EPOCH when it is set,
# else the time of the last commit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The version resource and the manual read the same four numbers.
version=""
for part in MAJOR MINOR PATCH BUILD; do
    number=$(sed -n "s/^#define TALVERO_VERSION_$part \([0-9]\+\)$/\1/p" res/version.h)
    if [ -z "$number" ]; then
        echo "package: res/version.h has no TALVERO_VERSION_$part number" >&2
        exit 1
    fi
    version=${version:+$version.}$number
done
if [ "${1:-}" = --version ]; then
    echo "$version"
    exit 0
fi
build_root=$(realpath -m "${1:-build}")
dist=$(realpath -m "${2:-dist}")

"$root/scripts/setup.sh"
TALVERO_BUILDS="win-x86_64 win-i686" TALVERO_BUILD_ROOT="$build_root" TALVERO_BUILD_TARGET=talvero \
    "$root/scripts/build.sh"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH

# make_zip ZIP FOLDER FILE...: the files, in this order, inside FOLDER/ of the zip.
make_zip() {
    python3 - "$@" <<'EOF'
import os, sys, time, zipfile
target, folder, files = sys.argv[1], sys.argv[2], sys.argv[3:]
# Zip times are local times without a zone; the same instant everywhere reads
# the same in UTC. Zip cannot hold times before 1980.
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
FILE_ATTRIBUTE_DIRECTORY = 0x10
def entry(name, attributes):
    info = zipfile.ZipInfo(name, stamp)
    info.create_system = 0  # MS-DOS attributes, as Windows writes them
    info.external_attr = attributes
    return info
with zipfile.ZipFile(target + ".part", "w") as archive:
    archive.writestr(entry(folder + "/", FILE_ATTRIBUTE_DIRECTORY), b"")
    for path in files:
        info = entry(folder + "/" + os.path.basename(path), 0)
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(path, "rb") as source:
            archive.writestr(info, source.read(), compresslevel=9)
os.replace(target + ".part", target)
EOF
}

stage="$build_root/release"
rm -rf "$stage"
mkdir -p "$stage" "$dist"
# Notepad before Windows 10 shows a text only with CRLF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' release/README.txt >"$stage/README.txt"

for build in "win-x86_64 win64 x64" "win-i686 win32 x86"; do
    read -r tree zip_name arch <<<"$build"
    files="$build_root/$tree/app"
    make_zip "$dist/talvero-$version-$zip_name.zip" "talvero-$version" \
        "$files/talvero.exe" "$files/talvero-manual.html" "$stage/README.txt"
    log="$stage/makensis-$arch.log"
    if ! makensis -V2 -DARCH="$arch" -DVERSION="$version" -DFILES="$files" \
        -DICON="$root/res/talvero.ico" -DOUTFILE="$dist/talvero-$version-setup-$arch.exe" \
        release/talvero.nsi >"$log" 2>&1; then
        cat "$log" >&2
        echo "package: the $arch installer could not be made" >&2
        exit 1
    fi
done

release_files=("talvero-$version-win32.zip" "talvero-$version-win64.zip"
               "talvero-$version-setup-x86.exe" "talvero-$version-setup-x64.exe")
(cd "$dist" && sha256sum "${release_files[@]}" >SHA256SUMS)
echo "package: TALVERO $version in $dist:"
(cd "$dist" && ls -l "${release_files[@]}" SHA256SUMS | awk '{ printf "  %-36s %9d bytes\n", $9, $5 }')
