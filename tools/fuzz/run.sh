#!/bin/sh
# Builds the fuzz targets and runs each for SECONDS (default 60):
#   run.sh [SECONDS] [TARGET...]     targets: archive level utf8 path verify
# Each run works in a temporary folder with a scratch copy of its seed
# corpus, so the tree is left as it was; a crashing input is kept under
# OUT/artifacts/. The scratch folder lives in /dev/shm when it can: the
# archive targets write every input to a file, and on disk that costs them
# nine tenths of their speed. The game's built archives (FUZZ_DATA, default
# build/game/data) are first run whole through the archive and verify
# targets, then join their seeds, cut to MAX_ARCHIVE_LEN bytes: mutating a
# 1.5 MB font archive costs a hundredfold in speed and reaches no code that
# its index and first entries do not. Every campaign level under data/levels
# joins the level seeds.
# Exits non-zero when any target finds a fault.
set -eu

case "${1:-}" in
-h | --help)
    echo "usage: tools/fuzz/run.sh [SECONDS] [TARGET...]"
    echo
    echo "Builds the fuzz targets (into FUZZ_OUT, default build-fuzz) and runs each"
    echo "for SECONDS (default 60). Targets: archive level utf8 path verify (all"
    echo "by default). Exits non-zero when any target finds a fault."
    exit 0
    ;;
esac

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
SECONDS_EACH=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-"archive level utf8 path verify"}
OUT=${FUZZ_OUT:-"$ROOT/build-fuzz"}
DATA=${FUZZ_DATA:-"$ROOT/build/game/data"}
MAX_ARCHIVE_LEN=16384

"$ROOT/tools/fuzz/build.sh" "$OUT"

SCRATCH=${FUZZ_TMP:-}
if [ -z "$SCRATCH" ]; then
    if [ -d /dev/shm ] && [ -w /dev/shm ]; then SCRATCH=/dev/shm; else SCRATCH=${TMPDIR:-/tmp}; fi
fi
WORK=$(mktemp -d "$SCRATCH/ironmoat-fuzz-XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

total=0
failed=""
for name in $TARGETS; do
    mkdir -p "$WORK/$name/corpus" "$OUT/artifacts/$name"
    cp "$ROOT/tools/fuzz/corpus/$name/"* "$WORK/$name/corpus/"
    limit=""
    case $name in
    archive | verify)
        limit="-max_len=$MAX_ARCHIVE_LEN"
        mkdir -p "$WORK/$name/whole"
        for dat in "$DATA"/*.dat; do
            [ -f "$dat" ] && cp "$dat" "$WORK/$name/whole/built-$(basename "$dat")"
        done
        if [ -n "$(ls "$WORK/$name/whole")" ]; then
            echo "== fuzz_$name on the built archives, whole"
            if ! (cd "$WORK/$name" && TMPDIR="$WORK/$name" \
                ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
                UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                "$OUT/fuzz_$name" -artifact_prefix="$OUT/artifacts/$name/" whole/* \
                    >"$WORK/$name/whole.log" 2>&1); then
                tail -n 60 "$WORK/$name/whole.log"
                echo "fuzz_$name FAILED on a built archive"
                failed="$failed $name"
            fi
            cp "$WORK/$name/whole/"* "$WORK/$name/corpus/"
        fi
        ;;
    level)
        cp "$ROOT/data/levels/"*.mtc "$WORK/$name/corpus/" 2>/dev/null || true
        ;;
    esac
    echo "== fuzz_$name for ${SECONDS_EACH}s ($(ls "$WORK/$name/corpus" | wc -l) seeds)"
    if (cd "$WORK/$name" && TMPDIR="$WORK/$name" \
        ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$OUT/fuzz_$name" -max_total_time="$SECONDS_EACH" -timeout=30 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$OUT/artifacts/$name/" $limit \
            corpus >"$WORK/$name/log" 2>&1); then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$WORK/$name/log")
        echo "fuzz_$name: ${runs:-?} executions, no fault"
        total=$((total + ${runs:-0}))
    else
        tail -n 60 "$WORK/$name/log"
        echo "fuzz_$name FAILED; the input is under $OUT/artifacts/$name/"
        failed="$failed $name"
    fi
done

echo "executions in total: $total"
if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed"
    exit 1
fi
echo "fuzzing found no faults"
