#!/usr/bin/env bash
# Pictures of every page and box, and of the icon, into DIR as PNG:
#   cmake/pictures.sh WIN_BUILD DIR
# Run it under with-display.sh, which ends Wine before the display.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
dir=$(cd "$2" && pwd)
rm -f "$dir"/*.bmp
"$here/wine-run.sh" "$build/tests/e2e/tov_screenshots.exe" "Z:$dir"
for bmp in "$dir"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
    echo "$(basename "${bmp%.bmp}.png")"
done
# The icon as tov.exe carries it, one picture a size.
work=$(mktemp -d)
wrestool -x --type=group_icon "$build/tov.exe" >"$work/tov.ico"
icotool -x -o "$work" "$work/tov.ico"
for png in "$work"/*.png; do
    size=$(identify -format %w "$png")
    mv "$png" "$dir/icon-$size.png"
    echo "icon-$size.png"
done
rm -rf "$work"
echo "Screenshots in $dir"
