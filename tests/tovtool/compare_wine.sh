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
# Wine runs in the Japanese locale; so does the native build here.
export LC_ALL=ja_JP.UTF-8
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
# import: every character the code page holds (written by Python's own
# table of it), the forms other systems use, and some it lacks; and each
# reader's test files, one of them under a name outside the ANSI code page.
python3 - >every-character.csv <<'PY'
chars = []
for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
    for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
        try:
            chars.append(bytes([lead, trail]).decode('cp932'))
        except UnicodeDecodeError:
            pass
chars += [bytes([c]).decode('cp932') for c in range(0xA1, 0xE0)]
chars += list('〜‖−—¢£¬¥‾ éñßÆ–😀한ŒĦ')
print('問題文,選択肢1,選択肢2,正解,解説文', end='\r\n')
for i in range(0, len(chars), 600):
    text = ''.join(chars[i:i + 600]).replace('"', '""')
    print(f'"{text}",a,b,1,e', end='\r\n')
PY
imports=(every-character.csv)
for f in "${IMPORT_DIR:-/nonexistent}"/*; do
    [ -f "$f" ] || continue
    cp "$f" .
    imports+=("$(basename "$f")")
done
if [ ${#imports[@]} -gt 1 ]; then
    cp "${imports[1]}" "시험-${imports[1]}"
    imports+=("시험-${imports[1]}")
fi
for name in "${imports[@]}"; do
    for options in "" "--json"; do
        native_status=0 exe_status=0
        # shellcheck disable=SC2086
        "$native" import $options "$name" native-import.csv >native.out 2>&1 || native_status=$?
        # shellcheck disable=SC2086
        "$wine_run" "$exe" import $options "$name" exe-import.csv 2>&1 | tr -d '\r' |
            sed 's/exe-import/native-import/g' >exe.out || exe_status=${PIPESTATUS[0]}
        compare "import $options $name: report" native.out exe.out
        [ ! -f native-import.csv ] || compare "import $name: set" native-import.csv exe-import.csv
        [ "$native_status" = "$exe_status" ] ||
            { echo "import $name exits $native_status natively, $exe_status under Wine"; failed=1; }
        rm -f native-import.csv exe-import.csv
    done
done

[ "$failed" = 0 ] && echo "same output and bytes"
exit "$failed"
