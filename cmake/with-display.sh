#!/usr/bin/env bash
# Runs a command on a virtual X display of its own, then stops Wine's server
# and the display, so that no process is left behind.
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}

fd_file=$(mktemp)
# In a session of its own, so that Ctrl+C reaches the programs, not the display
# they still draw on: cleanup ends them first.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
xvfb_pid=$!

cleanup() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -f "$fd_file"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
[ -s "$fd_file" ] || { echo "Xvfb gave no display" >&2; exit 1; }
# wine-run.sh sets Wine up for a display without a window manager.
export DISPLAY=":$(head -n 1 "$fd_file")" TOV_VIRTUAL_DISPLAY=1

"$@"
