#!/usr/bin/env bash
# Runs a Windows program under Wine as on a Japanese desktop: ANSI code page
# 932, the build's own Wine prefix, and a display (a virtual one if none).
set -eu
here=$(cd "$(dirname "$0")" && pwd)

# Root passes the permission checks that the users' Windows accounts meet.
# Wine, its server included, runs without that power, so that a folder or
# file the user may not change stays so here too.
no_override=--bounding-set=-dac_override,-dac_read_search
if [ "$(id -u)" = 0 ] && [ -z "${TOV_WINE_NO_OVERRIDE:-}" ] &&
    setpriv "$no_override" true 2>/dev/null; then
    export TOV_WINE_NO_OVERRIDE=1
    exec setpriv "$no_override" -- "$0" "$@"
fi
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${DISPLAY:-}" ]; then
    exec "$here/with-display.sh" "$0" "$@"
fi

# A virtual display has no window manager, and Wine waits two seconds for one
# whenever it hides a window it lets the manager handle: there Wine manages
# (and draws) its windows itself. On a desktop the desktop's manager does.
managed=Y
[ -n "${TOV_VIRTUAL_DISPLAY:-}" ] && managed=N

# The prefix is made once and switched only when needed, under a lock.
state=$WINEPREFIX/.tov-managed-$managed
if [ ! -f "$state" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$state" ]; then
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wineboot -i >/dev/null 2>&1
            # Wine's Japanese UI fonts are not installed: draw them with Noto Sans CJK JP.
            wine reg import "$here/wine-fonts.reg" >/dev/null 2>&1
            # Wine draws the caption buttons with its own Marlett (fonts-wine),
            # which it looks for in the prefix's font folder.
            mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
            wineserver -w
        fi
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
        rm -f "$WINEPREFIX"/.tov-managed-*
        touch "$state"
    fi
    exec 9>&-
fi

# Wine's server and services outlive the program that starts them, holding on
# to its output (ctest waits for that to close): start them apart, kept for a
# few seconds between programs. On a virtual display they stay until the
# display ends (with-display.sh stops them), so that no program starts while
# the desktop of the one before is shutting down. The server answers 0 only
# when it is new.
persistence=5
[ -n "${TOV_VIRTUAL_DISPLAY:-}" ] && persistence=
if wineserver "-p$persistence" </dev/null >/dev/null 2>&1; then
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
