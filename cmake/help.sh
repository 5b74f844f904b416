#!/usr/bin/env bash
# Compiles the help into a CHM: cmake/help.sh HELP_SOURCE_DIR OUT.chm
# The pages are kept in UTF-8; the help is Japanese (0x411), so its pages go
# in as code page 932, the code page the help viewer reads them in.
set -euo pipefail
source=$(cd "${1:?usage: help.sh HELP_SOURCE_DIR OUT.chm}" && pwd)
out=${2:?usage: help.sh HELP_SOURCE_DIR OUT.chm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/pages" "$work/check"
cp -r "$source/." "$work/pages/"
for file in "$work"/pages/*.html "$work"/pages/*.hhc "$work"/pages/*.hhk "$work"/pages/*.hhp; do
    sed 's/charset=utf-8/charset=Shift_JIS/' "$file" | iconv -f UTF-8 -t CP932 >"$file.932"
    mv "$file.932" "$file"
done

# chmcmd's output differs from run to run (its time stamp and index map), so
# each build is read back whole before it is taken: a help that does not give
# back every page as written is made again rather than shipped.
pages_read_back() {
    rm -rf "$work/check" && mkdir "$work/check"
    extract_chmLib "$work/pages/tov.chm" "$work/check" >/dev/null 2>&1 || return 1
    for page in "$work"/pages/*.html; do
        cmp -s "$page" "$work/check/$(basename "$page")" || return 1
    done
}

for attempt in 1 2 3; do
    (cd "$work/pages" && chmcmd tov.hhp >chmcmd.log 2>&1) || { cat "$work/pages/chmcmd.log" >&2; exit 1; }
    if pages_read_back; then
        cp "$work/pages/tov.chm" "$out"
        exit 0
    fi
    echo "help.sh: tov.chm (attempt $attempt) does not give back every page; compiling again" >&2
done
echo "help.sh: tov.chm does not give back its pages" >&2
exit 1
