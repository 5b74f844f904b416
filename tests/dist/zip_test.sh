#!/usr/bin/env bash
# The zip as a user gets it: tests/dist/zip_test.sh DIST_DIR E2E_TESTS_EXE VERSION
# Unpacked into an empty folder, tov.exe starts from there, loads both
# samples and opens its help.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
e2e=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$dist/tov-$3-win64.zip" -d "$work"
folder=$work/tov-$3
for file in tov.exe tovtool.exe tov.chm readme.txt sample.csv sample.eep; do
    [ -f "$folder/$file" ] || { echo "FAIL: $file is not in the zip"; exit 1; }
done
cd "$folder"
TOV_UNPACKED=1 TOV_EXE="Z:${folder//\//\\}\\tov.exe" \
    "$here/../../cmake/wine-run.sh" "$e2e" --gtest_filter='Unpacked.*'
