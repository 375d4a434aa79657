#!/usr/bin/env bash
# Renders the program's icon from kalvex.svg into the PNG sizes the desktop asks for, and into
# kalvex.ico for Windows (16 to 256 pixels, each size a PNG inside the icon file, as Windows
# reads them since Vista). Run once after changing the drawing; the PNGs and the icon are kept
# in the repository, so neither the build nor the package needs a renderer.
set -euo pipefail
cd "$(dirname "$0")"
../../scripts/need-packages.sh librsvg2-bin python3
for size in 48 128; do
    rsvg-convert -w "$size" -h "$size" kalvex.svg -o "kalvex-$size.png"
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ico_sizes=(16 24 32 48 64 256)
for size in "${ico_sizes[@]}"; do
    rsvg-convert -w "$size" -h "$size" kalvex.svg -o "$tmp/$size.png"
done
python3 - "$tmp" "${ico_sizes[@]}" <<'PY'
import struct, sys
folder, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
images = [open(f"{folder}/{s}.png", "rb").read() for s in sizes]
offset = 6 + 16 * len(images)
out = struct.pack("<HHH", 0, 1, len(images))
for size, data in zip(sizes, images):
    side = size % 256  # 0 stands for 256
    out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open("kalvex.ico", "wb").write(out + b"".join(images))
PY
