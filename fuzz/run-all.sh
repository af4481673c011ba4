#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a fixed time each and prints
# a table of what each run did. Too slow for the test suite; run it by hand.
#
#   fuzz/run-all.sh BUILD_DIR [SECONDS_PER_TARGET] [PARALLEL_RUNS] [TARGET_FILTER]
#
# BUILD_DIR is configured with clang and -DGLINT_FUZZ=ON. Each target starts
# from its checked-in corpus (fuzz/corpus/NAME) and adds what it finds to a
# scratch folder, so the checked-in corpus only changes by hand. A crash, leak
# or sanitizer report leaves its input in the scratch folder as crash-*,
# leak-* or timeout-*; the table names it. Inputs libFuzzer merely found slow
# (slow-unit-*) are counted apart: they are no fault.
set -u

build=${1:?usage: fuzz/run-all.sh BUILD_DIR [SECONDS] [PARALLEL] [FILTER]}
seconds=${2:-600}
parallel=${3:-1}
filter=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d /tmp/glint-fuzz.XXXXXX)

targets=()
for source in "$here"/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    [[ -n $filter && $name != *$filter* ]] && continue
    if [[ ! -x $build/$name ]]; then
        echo "missing $build/$name (configure with -DGLINT_FUZZ=ON and build it)" >&2
        exit 2
    fi
    targets+=("$name")
done

run_one() {
    local name=$1 dir=$scratch/$1
    mkdir -p "$dir/new" "$dir/artifacts"
    local seeds=()
    [[ -d $here/corpus/$name ]] && seeds=("$here/corpus/$name")
    # A scene's data runs to megabytes, but parsers show their faults on
    # small inputs; 64 KiB keeps the executions per second high.
    "$build/$name" "$dir/new" "${seeds[@]}" -max_total_time="$seconds" -max_len=65536 \
        -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/" >"$dir/log" 2>&1
    echo $? >"$dir/status"
}

echo "fuzzing ${#targets[@]} targets, $seconds s each, $parallel at a time; scratch: $scratch" >&2
running=0
for name in "${targets[@]}"; do
    run_one "$name" &
    running=$((running + 1))
    if ((running >= parallel)); then
        wait -n
        running=$((running - 1))
    fi
done
wait

echo "| target | seconds | executions | per second | coverage | corpus | slow inputs | found |"
echo "|---|---|---|---|---|---|---|---|"
failed=0
for name in "${targets[@]}"; do
    dir=$scratch/$name
    stat() { sed -n "s/^stat::$1: *//p" "$dir/log" | tail -1; }
    runs=$(stat number_of_executed_units)
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$dir/log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$dir/log" | tail -1 | cut -d' ' -f2)
    corpus=$(ls "$dir/new" | wc -l)
    found=$(ls "$dir/artifacts" | grep -v '^slow-unit-' | tr '\n' ' ')
    slow=$(ls "$dir/artifacts" | grep -c '^slow-unit-')
    [[ $(cat "$dir/status") != 0 || -n $found ]] && failed=1
    persec=$(( ${time:-0} > 0 ? ${runs:-0} / time : 0 ))
    echo "| $name | ${time:-?} | ${runs:-?} | $persec | ${cov:-?} | $corpus | $slow | ${found:-nothing} |"
done
exit $failed
