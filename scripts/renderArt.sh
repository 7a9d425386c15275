#!/usr/bin/env bash
# Renders the hand-written SVG sources in res/art/ into the committed pictures:
#   res/buttons.bmp   300x180, 24 bpp BI_RGB (5 buttons x normal/hover/pushed)
#   res/banner.bmp    591x38,  24 bpp BI_RGB (configuration dialog banner)
#   res/talvero.ico   16, 32 and 48 px, 32 bpp with alpha (no PNG-compressed 256 px
#                     image: Windows XP's icon loader cannot read one)
#   res/listicon.ico  16 and 32 px, 32 bpp with alpha
#
# Needs these Debian packages:
#   librsvg2-bin       (rsvg-convert)
#   imagemagick        (/usr/bin/convert, called by its full path)
#   fonts-dejavu-core  (DejaVu Sans, for the banner text)
#   python3            (checks the BMP headers at the end)
#   apt-get install -y librsvg2-bin imagemagick fonts-dejavu-core python3
#
# The build never runs this script: the rendered files are committed.
# Run it by hand after changing an SVG, look at the results, commit both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
art="$root/res/art"
out="$root/res"
convert=/usr/bin/convert

for tool in rsvg-convert "$convert" python3; do
    command -v "$tool" >/dev/null || { echo "renderArt: $tool is missing (see the package list at the top)" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# SVG -> 24-bit uncompressed BMP (BITMAPINFOHEADER, BI_RGB) on a solid background.
to_bmp() {
    local svg=$1 bmp=$2 background=$3
    rsvg-convert --background-color="$background" "$svg" -o "$tmp/flat.png"
    "$convert" "$tmp/flat.png" -background "$background" -alpha remove -alpha off \
        -type TrueColor -compress None BMP3:"$bmp"
}

to_bmp "$art/buttons.svg" "$out/buttons.bmp" '#EEEEEE'
to_bmp "$art/banner.svg" "$out/banner.bmp" '#FFFFFF'

# Icons: each size from its own pixel-fitted drawing.
png() { rsvg-convert -w "$2" -h "$2" "$art/$1.svg" -o "$tmp/$1-$2.png"; }
png appicon-16 16
png appicon-32 32
png appicon-48 48
png listicon-16 16
png listicon-32 32

ico() {
    local target=$1
    shift
    "$convert" "$@" -define png:exclude-chunks=date,time -type TrueColorAlpha "$target"
}
ico "$out/talvero.ico" "$tmp/appicon-16-16.png" "$tmp/appicon-32-32.png" \
    "$tmp/appicon-48-48.png"
ico "$out/listicon.ico" "$tmp/listicon-16-16.png" "$tmp/listicon-32-32.png"

# Check what the program relies on.
python3 - "$out" <<'EOF'
import struct, sys
out = sys.argv[1]

def bmp(name, width, height):
    data = open(f"{out}/{name}", "rb").read()
    assert data[:2] == b"BM", name
    offset, = struct.unpack_from("<I", data, 10)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    assert (hsize, w, h, planes, bpp, comp) == (40, width, height, 1, 24, 0), (name, hsize, w, h, bpp, comp)
    stride = (width * 3 + 3) & ~3
    def pixel(x, y):  # y from the top; rows are stored bottom-up
        i = offset + (height - 1 - y) * stride + x * 3
        b, g, r = data[i:i + 3]
        return r, g, b
    return pixel

pixel = bmp("buttons.bmp", 300, 180)
for row in range(3):
    for col in range(5):
        for dx, dy in ((0, 0), (59, 0), (0, 59), (59, 59)):
            x, y = col * 60 + dx, row * 60 + dy
            assert pixel(x, y) == (238, 238, 238), ("buttons.bmp corner", x, y, pixel(x, y))
pixel = bmp("banner.bmp", 591, 38)
assert pixel(0, 0) == (255, 255, 255)

def ico(name, sizes):
    data = open(f"{out}/{name}", "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), name
    found = sorted((data[6 + 16 * i] or 256) for i in range(count))
    assert found == sorted(sizes), (name, found)

ico("talvero.ico", [16, 32, 48])
ico("listicon.ico", [16, 32])
print("renderArt: buttons.bmp, banner.bmp, talvero.ico, listicon.ico written and checked")
EOF
