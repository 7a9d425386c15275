#!/usr/bin/env bash
# The portable zips in ROOT/dist: exactly their listed files, each the build's own
# bytes; the checksums hold; and a second build of the same sources, in a build
# root of its own, gives the same zips byte for byte.
# Usage: checkZips.sh ROOT (after scripts/package.sh)
set -uo pipefail
root=$1
version=$("$root/scripts/package.sh" --version)
repro="$root/build/repro"
status=0

for build in "win64 win-x86_64" "win32 win-i686"; do
    read -r name tree <<<"$build"
    zip="talvero-$version-$name.zip"
    python3 - "$root/dist/$zip" "talvero-$version" "$root/build/$tree/app" "$root/build/release" <<'EOF' || status=1
import os, sys, zipfile
zip_path, folder, app, stage = sys.argv[1:]
sources = {"talvero.exe": app, "talvero-manual.html": app, "README.txt": stage}
with zipfile.ZipFile(zip_path) as archive:
    names = archive.namelist()
    expected = [folder + "/"] + [folder + "/" + name for name in sources]
    if names != expected:
        sys.exit(f"{zip_path} holds {names}, not {expected}")
    for name, source in sources.items():
        with open(os.path.join(source, name), "rb") as built:
            if archive.read(folder + "/" + name) != built.read():
                sys.exit(f"{zip_path}: {name} is not the build's {source}/{name}")
EOF
done
(cd "$root/dist" && sha256sum --quiet -c SHA256SUMS) || status=1

rm -rf "$repro"
if ! "$root/scripts/package.sh" "$repro" "$repro/dist" >"$root/build/repro.log" 2>&1; then
    cat "$root/build/repro.log"
    exit 1
fi
for name in win32 win64; do
    cmp "$root/dist/talvero-$version-$name.zip" "$repro/dist/talvero-$version-$name.zip" || status=1
done
exit $status
