#!/usr/bin/env bash
# Exports a set in the import template's columns and pictures the sheet as a
# spreadsheet shows it, for the read-me: sheet_picture.sh TOVTOOL SET PICTURE
set -euo pipefail
tovtool=$1 set=$2 picture=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$picture")"

"$tovtool" export --to csv "$set" "$work/sheet.csv"
python3 - "$work/sheet.csv" >"$work/sheet.html" <<'PY'
import csv, html, io, sys
rows = list(csv.reader(io.open(sys.argv[1], encoding='utf-8-sig', newline='')))
letters = [chr(ord('A') + i) for i in range(len(rows[0]))]
out = ['<html><head><meta charset="utf-8"><style>',
       'body{margin:0;font:13px "Noto Sans CJK JP",sans-serif;background:#fff}',
       'table{border-collapse:collapse}td,th{border:1px solid #d0d0d0;padding:2px 6px;',
       'vertical-align:top;white-space:pre;max-width:260px;overflow:hidden}',
       'th{background:#f0f0f0;font-weight:normal;color:#444}tr:nth-child(2) td{font-weight:bold}',
       '</style></head><body><table><tr><th></th>']
out += ['<th>%s</th>' % l for l in letters] + ['</tr>']
for n, row in enumerate(rows, 1):
    out.append('<tr><th>%d</th>' % n + ''.join('<td>%s</td>' % html.escape(c) for c in row) + '</tr>')
out.append('</table></body></html>')
print('\n'.join(out))
PY
browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "chromium is not installed"; exit 1; }
HOME=$work timeout 90 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars \
    --user-data-dir="$work/profile" --window-size=1275,255 --screenshot="$picture" \
    "file://$work/sheet.html" >"$work/browser.log" 2>&1 || { cat "$work/browser.log"; exit 1; }
echo "pictured the sheet in $picture"
