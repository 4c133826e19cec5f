#!/bin/sh
# Builds the fuzz targets and runs each for SECONDS (default 60). Each run
# works in a temporary folder with a scratch copy of its seed corpus, so the
# tree is left as it was; a crashing input is kept under OUT/artifacts/.
# Exits non-zero when any target finds a fault.
set -eu

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SECONDS_EACH=${1:-60}
OUT=${FUZZ_OUT:-"$ROOT/build-fuzz"}

"$ROOT/tools/fuzz/build.sh" "$OUT"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/ironmoat-fuzz-XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

failed=""
for name in archive level utf8 path; do
    mkdir -p "$WORK/$name/corpus" "$OUT/artifacts/$name"
    cp "$ROOT/tools/fuzz/corpus/$name/"* "$WORK/$name/corpus/"
    echo "== fuzz_$name for ${SECONDS_EACH}s"
    if (cd "$WORK/$name" && TMPDIR="$WORK/$name" \
        ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$OUT/fuzz_$name" -max_total_time="$SECONDS_EACH" -timeout=30 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$OUT/artifacts/$name/" \
            corpus >"$WORK/$name/log" 2>&1); then
        grep -E '^stat::number_of_executed_units' "$WORK/$name/log" || tail -n 3 "$WORK/$name/log"
    else
        tail -n 60 "$WORK/$name/log"
        echo "fuzz_$name FAILED; the input is under $OUT/artifacts/$name/"
        failed="$failed $name"
    fi
done

if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed"
    exit 1
fi
echo "fuzzing found no faults"
