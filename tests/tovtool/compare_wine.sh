#!/usr/bin/env bash
# tovtool.exe under Wine against the native tovtool on the same files:
# check must print the same report (line ends aside) with the same exit
# code, convert must write the same bytes.
# compare_wine.sh WINE_RUN TOVTOOL_EXE NATIVE_TOVTOOL FILE...
set -euo pipefail
wine_run=$1 exe=$2 native=$3
shift 3
if [ ! -x "$native" ]; then
    echo "no native tovtool at $native: build the native tree first"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

files=()
for f in "$@"; do
    name=$(basename "$f")
    cp "$f" "$name"
    files+=("$name")
done
# Broken on purpose: a comma typed in, a line cut short, an unreadable line.
sed 's/,1,/,x,/3' "${files[0]}" >comma.csv
head -c 500 "${files[0]}" >cut.csv
printf 'x\r\n' | cat "${files[0]}" - >unreadable.csv
# A name outside the ANSI code page, which only the wide command line keeps.
cp "${files[0]}" 시험.csv
files+=(comma.csv cut.csv unreadable.csv missing.csv 시험.csv)

failed=0
compare() { # what, native file, exe file
    if ! cmp -s "$2" "$3"; then
        echo "differs: $1"
        diff "$2" "$3" | head -20 || true
        failed=1
    fi
}

for options in "" "--json"; do
    native_status=0 exe_status=0
    # shellcheck disable=SC2086
    "$native" check $options "${files[@]}" >native.out 2>/dev/null || native_status=$?
    # shellcheck disable=SC2086
    "$wine_run" "$exe" check $options "${files[@]}" 2>/dev/null | tr -d '\r' >exe.out ||
        exe_status=${PIPESTATUS[0]}
    compare "check $options" native.out exe.out
    [ "$native_status" = "$exe_status" ] ||
        { echo "check $options exits $native_status natively, $exe_status under Wine"; failed=1; }
done

for f in "$@"; do
    name=$(basename "$f")
    for target in out.eep out.csv; do
        native_status=0 exe_status=0
        "$native" convert "$name" "native-$target" 2>/dev/null || native_status=$?
        "$wine_run" "$exe" convert "$name" "exe-$target" 2>/dev/null || exe_status=$?
        compare "convert $name $target" "native-$target" "exe-$target"
        [ "$native_status" = "$exe_status" ] ||
            { echo "convert $name exits $native_status natively, $exe_status under Wine"; failed=1; }
    done
done
[ "$failed" = 0 ] && echo "same output and bytes"
exit "$failed"
