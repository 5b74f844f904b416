#!/usr/bin/env bash
# Runs the file-format fuzzer for SECONDS: cmake/fuzz.sh NATIVE_BUILD_DIR SECONDS [all]
# It works on a copy of the seed corpus in the build tree, so the corpus in
# the repository changes only by hand; findings land beside that copy.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: fuzz.sh NATIVE_BUILD_DIR SECONDS}" && pwd)
seconds=${2:?usage: fuzz.sh NATIVE_BUILD_DIR SECONDS}

fuzzer=$build/tests/fuzz/file_fuzzer
work=$build/tests/fuzz/work
mkdir -p "$work/corpus" "$work/findings"
cp "$here/../tests/fuzz/corpus/"* "$work/corpus/"

# With "all", each import reader's fuzzer first, for SECONDS too.
if [ "${3:-}" = all ]; then
    for reader in delimited workbook moodle gift aiken; do
        "$here/../tests/fuzz/import_fuzz.sh" "$build/tests/fuzz/import_${reader}_fuzzer" \
            "$here/../tests/fuzz/import_corpus/$reader" "$work/import/$reader" "$seconds"
    done
fi

# Long enough for a header line of five full comments.
exec "$fuzzer" -max_total_time="$seconds" -max_len=32768 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/findings/" "$work/corpus"
