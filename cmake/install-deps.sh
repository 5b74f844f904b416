#!/usr/bin/env bash
# Installs what building, running and testing tov needs on Debian, and only
# what is missing. Needs root or sudo when something is missing.
set -euo pipefail

packages=(
    make cmake ninja-build clang libclang-rt-14-dev clang-format
    googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb x11-utils imagemagick fonts-noto-cjk fonts-wine locales
    fp-utils libchm-bin nsis zip unzip
    libcli11-dev libpugixml-dev libxml2-utils chromium poppler-utils
    librapidxml-dev zlib1g-dev libz-mingw-w64-dev
    icoutils python3 python3-pefile faketime librsvg2-bin
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page (932, Shift_JIS) from this locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "Generating the ja_JP.UTF-8 locale"
    "${sudo[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen
fi
