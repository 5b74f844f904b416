#!/usr/bin/env bash
# Runs tovtool check, in both forms and as JSON, over every file of the
# given folders and over cut and comma-spliced variants of them: it must
# report (exit 0 or 1) and never trip a sanitizer.
set -euo pipefail
# The texts compared are the English ones.
export LC_ALL=C
tovtool=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

n=0
for dir in "$@"; do
    [ -d "$dir" ] || continue
    for f in "$dir"/*; do
        [ -f "$f" ] || continue
        n=$((n + 1))
        cp "$f" "$work/$n.csv"
        size=$(stat -c %s "$f")
        # Cut at a few places, and with commas and digits typed in.
        for cut in 1 7 $((size / 3)) $((size / 2)) $((size - 1)); do
            [ "$cut" -gt 0 ] && head -c "$cut" "$f" >"$work/$n-cut$cut.csv"
        done
        sed 's/a/,/g; s/1/x/2' "$f" >"$work/$n-comma.csv"
    done
done
echo "checking $(ls "$work" | wc -l) files from $n"

export ASAN_OPTIONS=exitcode=99 UBSAN_OPTIONS=halt_on_error=1:exitcode=99:print_stacktrace=1
status=0
for options in "" "--form eep" "--form csv --json"; do
    # shellcheck disable=SC2086
    "$tovtool" check $options "$work"/* >"$work.out" 2>"$work.err" || status=$?
    if [ "$status" -gt 1 ] || grep -q 'Sanitizer\|runtime error' "$work.err"; then
        cat "$work.err"
        echo "tovtool check $options exited with $status"
        rm -f "$work.out" "$work.err"
        exit 1
    fi
    tail -n 1 "$work.out"
    status=0
done
rm -f "$work.out" "$work.err"
