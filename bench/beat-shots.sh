#!/usr/bin/env bash
# Frames of the show at whole beats, for comparing two builds or looking at
# a scene as a viewer does.
#
#   bench/beat-shots.sh OUTDIR [FIRST [LAST [STEP]]]
#       one PNG per STEP beats (default 2) from beat FIRST to LAST (default
#       0 to 418) as OUTDIR/bNNN.png (NNN the beat, tenths as bNNN.5 when
#       STEP is fractional).
#
# One headless run plays the show from its first frame on the capture clock
# (20 frames per second), so every frame is the one a capture would hold and
# two builds give comparable files (cmp). GLINT names the program (default
# build/glint); it runs in the folder DATADIR names (default build/, where
# data/ lives).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
glint=${GLINT:-$root/build/glint}
datadir=${DATADIR:-$root/build}
out=${1:?usage: beat-shots.sh OUTDIR [FIRST [LAST [STEP]]]}
first=${2:-0}
last=${3:-418}
step=${4:-2}
tempo=108

mkdir -p "$out"
out=$(cd "$out" && pwd)
args=()
for beat in $(seq "$first" "$step" "$last"); do
  seconds=$(awk -v b="$beat" -v t="$tempo" 'BEGIN { printf "%.6f", b * 60 / t }')
  name=$(awk -v b="$beat" 'BEGIN { if (b == int(b)) printf "b%03d", b; else printf "b%05.1f", b }')
  args+=(--shot "$seconds:$out/$name.png")
done
cd "$datadir"
"$glint" --headless "${args[@]}" /w 2>&1 | grep -v '^glint: saved' >&2 || true
