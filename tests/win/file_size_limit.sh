#!/usr/bin/env bash
# Runs a Windows program under Wine with a file-size limit of KIB KiB and
# SIGXFSZ ignored, so that a write past the limit fails instead of ending the
# program: file_size_limit.sh KIB PROGRAM [ARGUMENTS]. The program learns the
# limit in bytes from TOV_FILE_SIZE_LIMIT.
set -eu
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
kib=$1
shift
# Wine's server writes the prefix's registry: it starts outside the limit.
"$cmake_dir/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
ulimit -f "$kib"
trap '' XFSZ
export TOV_FILE_SIZE_LIMIT=$((kib * 1024))
exec "$cmake_dir/wine-run.sh" "$@"
