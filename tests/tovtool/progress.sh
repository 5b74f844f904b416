#!/usr/bin/env bash
# The progress of a check over many files is for a person at a terminal: it
# shows on a terminal's stderr and never in a redirected one, and leaves the
# results on stdout alone. Also: every command has its --help.
# progress.sh TOVTOOL SET.csv
set -euo pipefail
# The texts compared are the English ones.
export LC_ALL=C
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
set_file=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

files=()
for i in $(seq 25); do
    cp "$set_file" "set$i.csv"
    files+=("set$i.csv")
done

# script gives the program a terminal; what it shows there lands in shown.txt.
script -qec "$tool check ${files[*]} >stdout.txt" shown.txt </dev/null >/dev/null
grep -q 'checked 25 of 25 files' shown.txt || fail "no progress on a terminal"
grep -q 'checked [0-9]* of' stdout.txt && fail "the progress reached stdout"
grep -q '^25 files checked' stdout.txt || fail "no summary on stdout: $(tail -1 stdout.txt)"

"$tool" check "${files[@]}" >stdout.txt 2>stderr.txt
[ -s stderr.txt ] && fail "stderr not a terminal, yet: $(head -c 200 stderr.txt)"

for command in check convert export; do
    "$tool" "$command" --help >help.txt 2>&1 || fail "$command --help exits $?"
    grep -q -i 'usage' help.txt || fail "$command --help shows no usage"
done

[ "$failures" -eq 0 ] && echo "progress on a terminal only; every command has --help"
exit $((failures > 0))
