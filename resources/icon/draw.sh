#!/usr/bin/env bash
# Draws resources/tov.ico from the pictures beside this script: tov.svg at
# 32, 48 and 256 pixels, and tov-16.svg, drawn pixel by pixel, at 16, where a
# scaled-down drawing blurs. Run it after changing either picture and commit
# the icon with them (the build takes the icon as it is).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rsvg-convert -w 16 -h 16 "$here/tov-16.svg" -o "$work/16.png"
for size in 32 48 256; do
    rsvg-convert -w "$size" -h "$size" "$here/tov.svg" -o "$work/$size.png"
done
# Windows keeps the large size as PNG and the small ones as bitmaps.
icotool -c -b 32 -o "$here/../tov.ico" "$work/16.png" "$work/32.png" "$work/48.png" --raw="$work/256.png"
