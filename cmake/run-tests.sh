#!/usr/bin/env bash
# Runs every test layer (native, Windows under Wine, end-to-end) in one ctest
# run over both build trees, so that one summary line closes it. Expects a
# display (make test supplies a virtual one).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)

# A fresh Wine prefix takes a while to make; make it before any test's clock runs.
"$here/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true

cat >"$build/CTestTestfile.cmake" <<CTEST
subdirs("native")
subdirs("win")
CTEST
cd "$build"
exec ctest --output-on-failure --timeout 300 -j2
