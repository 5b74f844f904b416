#!/usr/bin/env bash
# Compiles the help into a CHM: cmake/help.sh HELP_SOURCE_DIR OUT.chm
# The pages are kept in UTF-8; the help is Japanese (0x411), so its pages go
# in as code page 932, the code page the help viewer reads them in.
set -euo pipefail
source=$(cd "${1:?usage: help.sh HELP_SOURCE_DIR OUT.chm}" && pwd)
out=${2:?usage: help.sh HELP_SOURCE_DIR OUT.chm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$source/." "$work/"
for file in "$work"/*.html "$work"/*.hhc "$work"/*.hhk "$work"/*.hhp; do
    sed 's/charset=utf-8/charset=Shift_JIS/' "$file" | iconv -f UTF-8 -t CP932 >"$file.932"
    mv "$file.932" "$file"
done
(cd "$work" && chmcmd tov.hhp >chmcmd.log 2>&1) || { cat "$work/chmcmd.log" >&2; exit 1; }
cp "$work/tov.chm" "$out"
