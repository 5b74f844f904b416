#!/usr/bin/env bash
# Runs a Windows program under Wine as on a Japanese desktop: ANSI code page
# 932, the build's own Wine prefix, and a display (a virtual one if none).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$0" "$@"
fi
exec wine "$@"
