#!/usr/bin/env bash
# Renders the program's icon from kalvex.svg into the PNG sizes the desktop asks for. Run once
# after changing the drawing; the PNGs are kept in the repository, so neither the build nor
# the package needs a renderer.
set -euo pipefail
cd "$(dirname "$0")"
../../scripts/need-packages.sh librsvg2-bin
for size in 48 128; do
    rsvg-convert -w "$size" -h "$size" kalvex.svg -o "kalvex-$size.png"
done
