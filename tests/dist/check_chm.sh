#!/usr/bin/env bash
# Checks a built help file: tests/dist/check_chm.sh tov.chm
# Its language is Japanese, every page of the contents is inside it, and
# every link and picture of every page resolves inside it.
set -uo pipefail
chm=${1:?usage: check_chm.sh tov.chm}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The language id is the little-endian word at byte 20 of the header.
language=$(od -An -tx1 -j20 -N4 "$chm" | tr -d ' \n')
[ "$language" = "11040000" ] || fail "language id is $language, not 0x0411"

# extract_chmLib leaves a page it cannot read whole empty or zero-filled,
# and does not always say so: such a page is named, and read once more.
extract() {
    rm -rf "${work:?}"/* && extract_chmLib "$chm" "$work" 2>&1 >/dev/null || return 1
    for page in "$work"/*.html; do
        if [ ! -s "$page" ] || ! tr -d '\000' <"$page" | cmp -s - "$page"; then
            echo "$(basename "$page") came out empty or zero-filled"
        fi
    done
    return 0
}
problems=$(extract) || { echo "FAIL: cannot extract $chm"; exit 1; }
if [ -n "$problems" ]; then
    echo "extract_chmLib: $problems; extracting once more"
    problems=$(extract) || { echo "FAIL: cannot extract $chm"; exit 1; }
    [ -z "$problems" ] || fail "$chm does not extract whole: $problems"
fi
[ -f "$work/toc.hhc" ] || fail "no contents (toc.hhc)"
[ -f "$work/index.hhk" ] || fail "no index (index.hhk)"

pages=$(iconv -f CP932 -t UTF-8 "$work/toc.hhc" | grep -o 'name="Local" value="[^"]*"' | sed 's/.*value="//; s/"$//')
[ "$(echo "$pages" | wc -w)" -ge 8 ] || fail "the contents list fewer than 8 pages"
for page in $pages; do
    [ -f "$work/$page" ] || fail "contents page $page is missing"
done
for keyword in $(iconv -f CP932 -t UTF-8 "$work/index.hhk" | grep -o 'name="Local" value="[^"]*"' | sed 's/.*value="//; s/"$//'); do
    [ -f "$work/$keyword" ] || fail "index entry points to missing $keyword"
done

for page in "$work"/*.html; do
    name=$(basename "$page")
    text=$(iconv -f CP932 -t UTF-8 "$page") || { fail "$name is not code page 932"; continue; }
    echo "$text" | grep -q 'charset=Shift_JIS' || fail "$name does not declare Shift_JIS"
    for target in $(echo "$text" | grep -o -E '(href|src)="[^"#:]*"' | sed -E 's/^(href|src)="//; s/"$//'); do
        [ -f "$work/$target" ] || fail "$name links to missing $target"
    done
done

[ "$failures" -eq 0 ] && echo "help: $(echo "$pages" | wc -w) pages, every link resolves"
exit $((failures > 0))
