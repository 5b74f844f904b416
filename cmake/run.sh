#!/usr/bin/env bash
# Opens tov.exe under Wine in the Japanese locale on your display. With no
# display it runs on a virtual one, saves a screenshot of the window and says
# where. Ctrl+C ends it and leaves no Wine (or virtual display) process behind.
#   run.sh EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:?usage: run.sh EXE}")
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: tov runs on a virtual one."
    exec "$here/with-display.sh" "$here/screenshots.sh" "$exe" "$(dirname "$exe")/../screenshots" --stay
fi

stop_wine() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -n "${program:-}" ] && wait "$program" 2>/dev/null
}
trap stop_wine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
echo "tov runs on $DISPLAY; close its window or press Ctrl+C to end it."
"$here/wine-run.sh" "$exe" &
program=$!
wait "$program"
