#!/usr/bin/env bash
# Builds the Windows packages into BUILD/dist: cmake/dist.sh BUILD
#   tov-VERSION-win64.zip    tov.exe, tovtool.exe, tov.chm, a read-me and two sample sets
#   tov-VERSION-setup.exe    a per-user installer of tov.exe, tovtool.exe and tov.chm
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: dist.sh BUILD}" && pwd)
source "$build/win/version.sh"
out=$build/dist
stage=$out/tov-$version
rm -rf "$out"
mkdir -p "$stage"

cp "$build/win/tov.exe" "$build/win/tov.chm" "$build/win/tools/tovtool/tovtool.exe" "$stage/"
# Notepad on a Japanese desktop reads code page 932 with CR LF.
sed "s/@VERSION@/$version/" "$here/../dist/readme.txt" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$stage/readme.txt"
"$build/native/tools/write_sample/write_sample" "$here/../dist/sample-set.csv" \
    "$stage/sample.csv" "$stage/sample.eep"

(cd "$out" && zip -q -X -r "tov-$version-win64.zip" "tov-$version")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILE_VERSION="$file_version" \
    -DCOPYRIGHT="$copyright" -DICON="$icon" -DSTAGE="$stage" -DOUTFILE="$out/tov-$version-setup.exe" \
    "$here/../dist/tov.nsi"
ls -l "$out"/*.zip "$out"/*.exe
