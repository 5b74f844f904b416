#!/usr/bin/env bash
# tov.exe links at start only what every window program loads anyway: the
# kernel, the window manager, GDI and the C runtime. The dialogs' and the
# help's libraries are loaded when first used.
set -eu
objdump=$1
program=$2
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
echo "$program imports:" $imports
[ -n "$imports" ] || { echo "no import table read" >&2; exit 1; }
others=$(grep -Ev '^(kernel32|user32|gdi32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$' <<<"$imports" || true)
[ -z "$others" ] || { echo "loaded at start as well:" $others >&2; exit 1; }
