#!/usr/bin/env bash
# Starts tov.exe on the current display, waits until its window is up and
# painted, and saves a picture of it as DIR/start.png. With --stay it keeps
# the program running until it ends or Ctrl+C. Run it under with-display.sh,
# which ends Wine before the display.
#   screenshots.sh EXE DIR [--stay]
set -u
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "$1")
mkdir -p "$2"
dir=$(cd "$2" && pwd)
stay=${3:-}
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}

"$here/wine-run.sh" "$exe" &
program=$!

# The X window of tov's main window, once mapped (a fresh Wine prefix takes a while).
window=
for _ in $(seq 600); do
    window=$(xwininfo -name "tov - RC" 2>/dev/null | awk '/Window id:/ { print $4 }')
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "tov's window did not appear" >&2
    exit 1
fi

# Painting is done when two pictures a moment apart are the same.
previous=
for _ in $(seq 50); do
    sleep 0.1
    current=$(import -window "$window" rgb:- 2>/dev/null | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
done
import -window "$window" "$dir/start.png"
echo "Screenshot of the start screen: $dir/start.png"

if [ "$stay" = --stay ]; then
    echo "tov is running on a virtual display; Ctrl+C ends it."
    wait "$program"
fi
