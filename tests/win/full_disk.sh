#!/usr/bin/env bash
# Mounts a tiny file system that is full but for one existing question-set
# file, or unmounts it again: the output tests check that a write failing for
# want of space leaves that file as it was. Where mounting is not allowed the
# marker file is missing and the test skips itself.
set -u
action=$1
dir=$2
case "$action" in
mount)
    mkdir -p "$dir"
    mountpoint -q "$dir" && umount "$dir"
    if ! mount -t tmpfs -o size=64k,mode=0777 tmpfs "$dir" 2>/dev/null; then
        echo "cannot mount a tmpfs at $dir here: the full-disk output test will be skipped"
        exit 0
    fi
    printf 'previous content\r\n' >"$dir/existing.csv"
    touch "$dir/full.marker"
    dd if=/dev/zero of="$dir/filler" bs=1k 2>/dev/null
    echo "mounted a full tmpfs at $dir"
    ;;
umount)
    mountpoint -q "$dir" && umount "$dir"
    rmdir "$dir" 2>/dev/null
    ;;
*)
    echo "usage: $0 mount|umount DIR" >&2
    exit 2
    ;;
esac
exit 0
