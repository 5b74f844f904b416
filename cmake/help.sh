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

# Each build is read back whole before it is taken: a help that does not
# give back every page as written is made again rather than shipped.
pages_read_back() {
    rm -rf "$work/check" && mkdir "$work/check"
    extract_chmLib "$work/pages/tov.chm" "$work/check" >/dev/null 2>&1 || return 1
    for page in "$work"/pages/*.html; do
        cmp -s "$page" "$work/check/$(basename "$page")" || return 1
    done
}

# The same sources give the same help. chmcmd writes the time of day it ran
# (in milliseconds) into the header and into #SYSTEM: both become the time of
# the last commit of the help. It also writes a word it never set into the
# keyword map, which is the same from run to run only with the same memory
# layout: no address randomisation, no environment.
stamp=$(((${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct -- . 2>/dev/null || echo 0)} % 86400) * 1000))
bytes() { for shift in "$@"; do printf '\\x%02x' $(((stamp >> shift) & 255)); done; }
put() { printf "$2" | dd of="$work/pages/tov.chm" bs=1 seek="$1" conv=notrunc status=none; }
u16() { od -An -tu2 -j"$1" -N2 "$work/pages/tov.chm" | tr -d ' '; }
set_stamps() {
    local chm=$work/pages/tov.chm entry
    put 16 "$(bytes 24 16 8 0)" # big-endian
    # #SYSTEM lies in the uncompressed section: a version, then entries of
    # code, length and value; code 10 is the time.
    entry=$(($(od -An -tu8 -j88 -N8 "$chm") + $(enum_chmLib "$chm" | awk '$NF == "/#SYSTEM" { print $2 }') + 4))
    while [ "$(u16 "$entry")" != 10 ]; do entry=$((entry + 4 + $(u16 $((entry + 2))))); done
    put $((entry + 4)) "$(bytes 0 8 16 24)"
}

for attempt in 1 2 3; do
    (cd "$work/pages" && env -i setarch -R chmcmd tov.hhp >chmcmd.log 2>&1) ||
        { cat "$work/pages/chmcmd.log" >&2; exit 1; }
    set_stamps
    if pages_read_back; then
        cp "$work/pages/tov.chm" "$out"
        exit 0
    fi
    echo "help.sh: tov.chm (attempt $attempt) does not give back every page; compiling again" >&2
done
echo "help.sh: tov.chm does not give back its pages" >&2
exit 1
