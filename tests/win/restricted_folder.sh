#!/usr/bin/env bash
# Makes a folder in which no new file may be made but whose one file,
# existing.csv, may be changed (a shared folder set up that way), or removes
# it again: the output tests save into it in place.
set -eu
action=$1
dir=$2
case "$action" in
make)
    [ -d "$dir" ] && chmod u+w "$dir"
    rm -rf "$dir"
    mkdir -p "$dir"
    : >"$dir/existing.csv"
    chmod 0555 "$dir"
    ;;
remove)
    [ -d "$dir" ] && chmod u+w "$dir"
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 make|remove DIR" >&2
    exit 2
    ;;
esac
