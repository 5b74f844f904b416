#!/usr/bin/env bash
# Exports a set as an HTML test, prints it with headless Chromium and keeps
# the pages as pictures: print_html.sh TOVTOOL SET SCREENSHOT_DIR
# The questions and the answer key must land on pages of their own.
set -euo pipefail
tovtool=$1 set=$2 shots=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$shots"

"$tovtool" export --to html "$set" "$work/test.html"
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "chromium is not installed"; exit 1; }
# The browser's profile and crash handler stay in the scratch folder.
HOME=$work timeout 90 "$browser" --headless --no-sandbox --disable-gpu --no-pdf-header-footer \
    --user-data-dir="$work/profile" --print-to-pdf="$work/test.pdf" "file://$work/test.html" \
    >"$work/browser.log" 2>&1 || { cat "$work/browser.log"; exit 1; }

pages=$(pdfinfo "$work/test.pdf" | awk '/^Pages:/ { print $2 }')
echo "printed $pages pages"
[ "$pages" -ge 2 ] || { echo "expected the answer key on a page after the questions"; exit 1; }
rm -f "$shots"/tovtool-html-*.png
pdftoppm -png -r 70 "$work/test.pdf" "$shots/tovtool-html"
ls "$shots"/tovtool-html-*.png
