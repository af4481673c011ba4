#!/usr/bin/env bash
# Corruption sweep: how the show takes damaged data. For every file of the
# data folder (and the pack file), three variants are made in a scratch copy
# of the folder -- the file removed, cut to half its length, and replaced by
# random bytes of the same length (a fixed seed per file, so every sweep makes
# the same bytes) -- and the show runs headless on each under `timeout`. The
# result is a markdown table: file, variant, the runs made, the outcome (ok,
# exit status, hang, crash signal, sanitizer report) and the first new output
# line that names the file.
#
# The runs: the bench pass (every scene loaded, then rendered from its start
# to its end at one frame per second) for the files it reads; the music files,
# which only a live show or a capture with music opens, get a live run and a
# capture of the last scene's end instead; the pack file gets the bench pass
# with --pack. Which run reads which file is learnt from clean runs under
# strace; a file that no run opens is listed as "not read" (a run never
# depends on a file it does not open). Without strace every file gets every run.
#
# Too slow for CI (about 12 s a variant with the default bench pass); run it
# by hand after changes to loaders or parsers, best with the sanitizer build:
#   cmake -S . -B build-san -DGLINT_SANITIZE=ON && cmake --build build-san -j2
#   bench/corruption-sweep.sh --glint build-san/glint --data build/data
# build/data itself is never modified.
set -uo pipefail

usage() {
    cat <<'EOF'
usage: bench/corruption-sweep.sh [options]
  --glint PATH    program to run (default: build/glint of this checkout)
  --data DIR      clean data folder (default: data/ beside the program, else build/data)
  --pack FILE     pack file to corrupt with --pack runs (default: pmx.d beside the
                  program); --pack none skips it
  --filter REGEX  only files whose names match (grep -E)
  --out FILE      where the markdown table goes (default: corruption-sweep.md)
  --frames N      frames per scene in the bench pass (default 40)
  --fps N         frame rate of the bench pass (default 1: frames one second apart)
  --timeout S     seconds before a run counts as hung (default: 5 x the clean run,
                  at least 60)
  --jobs N        runs at the same time (default 1; the machine is shared)
  --seed N        seed of the random bytes (default 1)
  --keep DIR      keep the scratch folder and every run's output in DIR
EOF
}

die() { echo "corruption-sweep: $*" >&2; exit 2; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
glint="$repo/build/glint"
data=""
pack=""
filter=""
out="corruption-sweep.md"
frames=40
fps=1
timeoutSeconds=""
jobs=1
seed=1
keep=""

while [ $# -gt 0 ]; do
    case "$1" in
        --glint) glint=$2; shift 2 ;;
        --data) data=$2; shift 2 ;;
        --pack) pack=$2; shift 2 ;;
        --filter) filter=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --frames) frames=$2; shift 2 ;;
        --fps) fps=$2; shift 2 ;;
        --timeout) timeoutSeconds=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --keep) keep=$2; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        *) usage >&2; die "unknown option $1" ;;
    esac
done

for number in "$frames" "$fps" "$jobs" "$seed" ${timeoutSeconds:+"$timeoutSeconds"}; do
    [[ "$number" =~ ^[0-9]+$ ]] && [ "$number" -gt 0 ] || die "not a positive number: $number"
done
[ -x "$glint" ] || die "no program at $glint"
glint=$(cd "$(dirname "$glint")" && pwd)/$(basename "$glint")
programDir=$(dirname "$glint")
if [ -z "$data" ]; then
    data="$programDir/data"
    [ -d "$data" ] || data="$repo/build/data"
fi
[ -d "$data" ] || die "no data folder at $data"
data=$(cd "$data" && pwd)
[ -n "$pack" ] || pack="$programDir/pmx.d"
if [ "$pack" = none ]; then
    pack=""
elif [ ! -f "$pack" ]; then
    echo "corruption-sweep: no pack file at $pack; the pack is left out" >&2
    pack=""
else
    pack=$(cd "$(dirname "$pack")" && pwd)/$(basename "$pack")
fi
command -v openssl >/dev/null || die "openssl is needed for the random bytes"
haveStrace=0
command -v strace >/dev/null && haveStrace=1

if [ -n "$keep" ]; then
    mkdir -p "$keep" || die "cannot create $keep"
    work=$(cd "$keep" && pwd)
else
    work=$(mktemp -d "${TMPDIR:-/tmp}/corruption-sweep.XXXXXX")
    trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/clean" "$work/logs" "$work/rows"
cp -r "$data" "$work/clean/data"
[ -z "$pack" ] || cp "$pack" "$work/clean/pmx.d"

# stdout line-buffered, so the show's own lines and the notes on standard
# error keep their order in the one log. The sanitizer runtime must come
# first among the libraries, which stdbuf's preloaded helper would upset.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

# ---- runs ------------------------------------------------------------------

# The arguments of run kind $1.
runArguments() {
    case "$1" in
        bench) echo "--headless --bench=$frames /f$fps" ;;
        pack) echo "--headless --pack --bench=$frames /f$fps" ;;
        live) echo "--headless /s$lastScene/t10" ;;
        capture) echo "--headless /m/s$lastScene/t10/f5" ;;
    esac
}

# Runs kind $2 in the folder $1 with the log in $3 and its status in $3.status:
# "<exit status> <seconds>". The leak checker's own tracer now and then
# crashes at exit on a busy machine (a fault of the tool, not of the show):
# such a run is made once more.
runShow() {
    local dir=$1 kind=$2 log=$3 start end status attempt
    for attempt in 1 2; do
        start=$(date +%s.%N)
        # shellcheck disable=SC2046
        (cd "$dir" && exec timeout -k 10 "$runTimeout" stdbuf -oL "$glint" $(runArguments "$kind")) >"$log" 2>&1
        status=$?
        end=$(date +%s.%N)
        grep -q 'LeakSanitizer has encountered a fatal error' "$log" || break
    done
    echo "$status $(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')" >"$log.status"
}

# A fresh scratch folder $1: links to the clean copy (the corrupted file is
# always written anew, never through a link).
makeScratch() {
    rm -rf "$1"
    mkdir -p "$1"
    cp -al "$work/clean/." "$1/"
}

# Lines whose content changes from run to run: timings and progress.
dropVaryingLines() {
    grep -v -E '^ +[0-9]+  [A-Za-z]|^loading (stage|total)|^capture: [0-9]+ frames|^bench: ' || true
}

# ---- the clean runs ---------------------------------------------------------

clean="$work/clean"
runTimeout=${timeoutSeconds:-1800}
lastScene=8

declare -A cleanSeconds
cleanRun() {
    local kind=$1
    local log="$work/logs/clean-$kind.log" dir="$work/scratch-clean"
    makeScratch "$dir"
    runShow "$dir" "$kind" "$log"
    read -r status seconds <"$log.status"
    if [ "$status" != 0 ] || grep -q -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$log"; then
        tail -n 20 "$log" >&2
        die "the clean $kind run failed (status $status); nothing to compare with"
    fi
    cleanSeconds[$kind]=$seconds
    dropVaryingLines <"$log" | sort -u >"$work/logs/clean-$kind.lines"
    if [ $haveStrace = 1 ]; then
        local trace="$work/logs/clean-$kind.trace"
        makeScratch "$dir"
        (cd "$dir" && strace -f -qq --seccomp-bpf -e trace=open,openat -o "$trace" "$glint" $(runArguments "$kind")) \
            >/dev/null 2>&1
        grep -o -E '"(data/[^"]+|pmx\.d)"' "$trace" | tr -d '"' | sed 's|^data/||' | sort -u >"$work/logs/reads-$kind"
    fi
    rm -rf "$dir"
}

sweepStart=$(date +%s)
echo "corruption-sweep: clean runs of $glint on $data" >&2
cleanRun bench
lastScene=$(grep -c -E '^ +[0-9]+  [A-Za-z]' "$work/logs/clean-bench.log")
lastScene=$((lastScene - 1))
cleanRun live
cleanRun capture
[ -z "$pack" ] || cleanRun pack
if [ -z "$timeoutSeconds" ]; then
    longest=$(printf '%s\n' "${cleanSeconds[@]}" | sort -g | tail -n 1)
    runTimeout=$(awk -v t="$longest" 'BEGIN { t = int(t * 5); print t < 60 ? 60 : t }')
fi
echo "corruption-sweep: clean runs took ${cleanSeconds[*]} s; a run is hung after $runTimeout s" >&2

# The runs that read file $1, as a list of kinds; empty when none does.
runsReading() {
    local name=$1
    if [ "$name" = pmx.d ]; then
        echo pack
    elif [ $haveStrace = 0 ]; then
        echo "bench live capture"
    elif grep -qxF "$name" "$work/logs/reads-bench"; then
        echo bench
    elif grep -qxF "$name" "$work/logs/reads-live" || grep -qxF "$name" "$work/logs/reads-capture"; then
        echo "live capture"
    fi
}

# ---- one variant ---------------------------------------------------------------

# Writes the variant $2 of file $1 (relative to a scratch folder $3).
corrupt() {
    local name=$1 variant=$2 dir=$3 target source size
    if [ "$name" = pmx.d ]; then target="$dir/pmx.d"; source="$clean/pmx.d"
    else target="$dir/data/$name"; source="$clean/data/$name"; fi
    size=$(stat -c %s "$source")
    rm -f "$target"
    case "$variant" in
        removed) ;;
        half) head -c $((size / 2)) "$source" >"$target" ;;
        random)
            head -c "$size" /dev/zero |
                openssl enc -aes-256-ctr -nosalt -pbkdf2 -pass "pass:glint-sweep:$seed:$name" >"$target" ;;
    esac
}

markdownCell() {
    local text=${1//|/\\|}
    text=${text//$'\r'/}
    [ ${#text} -le 140 ] || text="${text:0:137}..."
    printf '%s' "$text"
}

# Outcome of one finished run: "ok", "exit N", "hang", "crash (SIGx)",
# "ASan: ...", "UBSan: ...".
outcomeOf() {
    local log=$1 status seconds summary
    read -r status seconds <"$log.status"
    summary=$(grep -m 1 -o -E 'SUMMARY: (Address|Leak)Sanitizer: [^ ]+' "$log" | sed 's/SUMMARY: //')
    if [ -n "$summary" ]; then echo "$summary"; return; fi
    summary=$(grep -m 1 -o -E '[^ /]+:[0-9]+:[0-9]+: runtime error: .{0,60}' "$log")
    if [ -n "$summary" ]; then echo "UBSan: $summary"; return; fi
    if [ "$status" = 124 ] || [ "$status" = 137 ]; then echo "hang (killed after ${seconds%.*} s)"; return; fi
    if [ "$status" -gt 128 ]; then echo "crash ($(kill -l $((status - 128)) 2>/dev/null || echo signal))"; return; fi
    if [ "$status" != 0 ]; then echo "exit $status"; return; fi
    echo ok
}

# The first line of run $2's log $1 that its clean run did not print and that
# names file $3; failing that, the first new line, marked as naming no file.
messageOf() {
    local log=$1 kind=$2 name=$3 fresh line
    fresh=$(dropVaryingLines <"$log" | tr -d '\r' | grep -v -x -F -f "$work/logs/clean-$kind.lines" |
        grep -v -E '^(==[0-9]+==|    #[0-9]|SUMMARY: )' || true)
    # Pack messages name the entry that failed, the box caption the pack.
    if [ "$name" = pmx.d ]; then
        line=$(printf '%s\n' "$fresh" | grep -m 1 -E 'pmx\.d|Unpacking|Pack ?file' || true)
    else
        line=$(printf '%s\n' "$fresh" | grep -m 1 -i -F "$name" || true)
    fi
    if [ -n "$line" ]; then printf '%s' "$line"; return; fi
    line=$(printf '%s\n' "$fresh" | grep -m 1 . || true)
    if [ -n "$line" ]; then printf '(names no file) %s' "$line"; else printf -- '-'; fi
}

# Runs the variant and writes its table row to $4.
sweepVariant() {
    local name=$1 variant=$2 kinds=$3 row=$4 slot=$5 dir kind log outcome line worst="ok" message=""
    dir="$work/scratch-$slot"
    for kind in $kinds; do
        makeScratch "$dir"
        corrupt "$name" "$variant" "$dir"
        log="$work/logs/${name//\//_}.$variant.$kind.log"
        runShow "$dir" "$kind" "$log"
        outcome=$(outcomeOf "$log")
        [ "$outcome" = ok ] || [ "$worst" != ok ] || worst="$outcome ($kind)"
        # The first line that names the file wins over lines of other runs.
        line=$(messageOf "$log" "$kind" "$name")
        if [ -z "$message" ] || [ "$message" = - ] ||
            { [ "${message:0:1}" = "(" ] && [ "${line:0:1}" != "(" ] && [ "$line" != - ]; }; then
            message=$line
        fi
    done
    rm -rf "$dir"
    printf '| %s | %s | %s | %s | %s |\n' "$(markdownCell "$name")" "$variant" "${kinds// /+}" \
        "$(markdownCell "$worst")" "$(markdownCell "$message")" >"$row"
}

# ---- the sweep ----------------------------------------------------------------

# Interrupted: the running variants stop with their runs (the timeout of a
# run passes the signal on to the show).
stopRuns() {
    local job
    for job in $(jobs -p); do
        pkill -TERM -P "$job" 2>/dev/null
        kill "$job" 2>/dev/null
    done
    exit 130
}
trap stopRuns INT TERM

mapfile -t names < <(cd "$clean/data" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ -z "$pack" ] || names+=(pmx.d)
if [ -n "$filter" ]; then
    mapfile -t names < <(printf '%s\n' "${names[@]}" | grep -E -- "$filter" || true)
fi
[ ${#names[@]} -gt 0 ] || die "no file matches"

total=$((${#names[@]} * 3))
index=0
running=0
for name in "${names[@]}"; do
    kinds=$(runsReading "$name")
    for variant in removed half random; do
        index=$((index + 1))
        row=$(printf '%s/rows/%05d' "$work" "$index")
        if [ -z "$kinds" ]; then
            printf '| %s | %s | - | not read | - |\n' "$(markdownCell "$name")" "$variant" >"$row"
            continue
        fi
        if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
        echo "corruption-sweep: [$index/$total] $name $variant ($kinds)" >&2
        sweepVariant "$name" "$variant" "$kinds" "$row" "$index" &
        running=$((running + 1))
    done
done
wait

elapsed=$(( $(date +%s) - sweepStart ))
{
    echo "# Corruption sweep"
    echo
    echo "Program: \`$glint\`; data: \`$data\`${pack:+; pack: \`$pack\`}."
    echo "Bench pass: \`$(runArguments bench)\`; music runs: \`$(runArguments live)\` and \`$(runArguments capture)\`."
    echo "Runs hung after ${runTimeout} s. Total time: $((elapsed / 60)) min $((elapsed % 60)) s for $total variants."
    echo
    echo "| file | variant | runs | outcome | message |"
    echo "|---|---|---|---|---|"
    cat "$work"/rows/*
} >"$out"
cat "$out"
problems=$(grep -c -v -E '^\| [^|]+ \| [a-z]+ \| [^|]+ \| (ok|not read) \|' "$work"/rows/* | awk -F: '{s += $2} END {print s + 0}')
echo "corruption-sweep: $total variants in $((elapsed / 60)) min $((elapsed % 60)) s; $problems not ok; table in $out" >&2
