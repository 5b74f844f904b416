#!/usr/bin/env bash
# Builds the Windows packages into BUILD/dist, or OUT: cmake/dist.sh BUILD [OUT]
#   tov-VERSION-win64.zip    tov.exe, tovtool.exe, tov.chm, a read-me and two sample sets
#   tov-VERSION-setup.exe    a per-user installer of tov.exe, tovtool.exe and tov.chm
#   SHA256SUMS               the checksums of both, to check a download against
# The same commit gives the same bytes, wherever and whenever it is built:
# every time stamp is the commit's (SOURCE_DATE_EPOCH), every list sorted.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: dist.sh BUILD [OUT]}" && pwd)
out=${2:-$build/dist}
source "$build/win/version.sh"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || date +%s)}
stage=$out/tov-$version
rm -rf "$out"
mkdir -p "$stage"
out=$(cd "$out" && pwd)

cp "$build/win/tov.exe" "$build/win/tov.chm" "$build/win/tools/tovtool/tovtool.exe" "$stage/"
# Notepad on a Japanese desktop reads code page 932 with CR LF.
sed "s/@VERSION@/$version/" "$here/../dist/readme.txt" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$stage/readme.txt"
"$build/native/tools/write_sample/write_sample" "$here/../dist/sample-set.csv" \
    "$stage/sample.csv" "$stage/sample.eep"
chmod 644 "$stage"/*
TZ=UTC touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

# No directory entries, no owners or Unix times, entries in byte order.
(cd "$out" && find "tov-$version" -type f | LC_ALL=C sort |
    TZ=UTC zip -q -X -D -@ "tov-$version-win64.zip")
# The installer keeps each file's time, as the zip does.
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DFILE_VERSION="$file_version" \
    -DCOPYRIGHT="$copyright" -DICON="$icon" -DSTAGE="$stage" -DOUTFILE="$out/tov-$version-setup.exe" \
    "$here/../dist/tov.nsi"
(cd "$out" && sha256sum "tov-$version-win64.zip" "tov-$version-setup.exe" >SHA256SUMS)
ls -l "$out"/*.zip "$out"/*.exe "$out"/SHA256SUMS
