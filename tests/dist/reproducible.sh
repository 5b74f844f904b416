#!/usr/bin/env bash
# The same commit's packages compare byte for byte: reproducible.sh BUILD
# makes BUILD's help and packages again, in another folder and time zone with
# the clock a year on; reproducible.sh --clean WORK builds the commit twice
# from scratch, in two clones at different paths, one after the other.
set -uo pipefail
source=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
same() { # FOLDER_A FOLDER_B FILE...
    for file in "${@:3}"; do
        cmp "$1/$file" "$2/$file" && echo "same: $file" ||
            { echo "FAIL: $file differs in $(cmp -l "$1/$file" "$2/$file" | wc -l) bytes"; failures=1; }
    done
}
if [ "$1" = --clean ]; then
    mkdir -p "$2" && work=$(cd "$2" && pwd) && rm -rf "$work/a" "$work/another-b"
    for tree in a another-b; do
        git clone -q "$source" "$work/$tree" && git -C "$work/$tree" checkout -q "$(git -C "$source" rev-parse HEAD)" &&
            make -C "$work/$tree" dist BUILD=build >"$work/$tree.log" 2>&1 || { echo "FAIL: see $work/$tree.log"; exit 1; }
    done
    a=$work/a/build b=$work/another-b/build
    same "$a/win" "$b/win" tov.exe tools/tovtool/tovtool.exe
else
    a=$(cd "$1" && pwd) b=$(mktemp -d)
    trap 'rm -rf "$b"' EXIT
    mkdir "$b/win" "$b/later"
    for tool in zip makensis; do # file times stay as they are
        printf '#!/bin/sh\nNO_FAKE_STAT=1 exec faketime -f +400d %s "$@"\n' "$(command -v $tool)" >"$b/later/$tool"
        chmod +x "$b/later/$tool"
    done
    PATH=$b/later:$PATH TZ=Pacific/Kiritimati "$source/cmake/help.sh" "$source/docs/help" "$b/win/tov.chm" &&
        PATH=$b/later:$PATH TZ=Pacific/Kiritimati "$source/cmake/dist.sh" "$a" "$b/dist" >/dev/null || exit 1
fi
source "$a/win/version.sh"
same "$a/win" "$b/win" tov.chm
same "$a/dist" "$b/dist" "tov-$version-win64.zip" "tov-$version-setup.exe" SHA256SUMS
exit $failures
