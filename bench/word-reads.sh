#!/usr/bin/env bash
# Which of the show's words a viewer can read, and from which beat: frames
# every half beat of the scenes that carry words, each read by the OCR
# engine tesseract (a measuring aid, not something the show needs; Debian
# package tesseract-ocr) as it is and once more enlarged and inverted to
# dark on light, which tesseract prefers, both as sparse text.
#
#   bench/word-reads.sh OUTDIR [SCENE...]
#       SCENE is one of opening, tunnel, stack, credits, finale (default all).
#       Frames go to OUTDIR/frames, the OCR text of each to OUTDIR/text, and
#       the table "word  first beat it reads" to standard output and
#       OUTDIR/reads.txt ("-" for a word that never reads).
#
# GLINT and DATADIR pick the program and its data as for beat-shots.sh. The
# frames come from one headless run from the show's first frame (about two
# minutes of both cores for the whole show); REUSE=1 reads the frames
# already in OUTDIR/frames instead of rendering them again.
set -euo pipefail
export OMP_THREAD_LIMIT=1

here=$(cd "$(dirname "$0")" && pwd)
out=${1:?usage: word-reads.sh OUTDIR [SCENE...]}
shift
scenes=("$@")
[ ${#scenes[@]} -eq 0 ] && scenes=(opening tunnel stack credits finale)
command -v tesseract >/dev/null || { echo "word-reads.sh: tesseract is not installed" >&2; exit 1; }
# ImageMagick's convert (Debian package imagemagick), the system's own first.
convert=$(command -v /usr/bin/convert || command -v convert)

# Scene: first beat, last beat, then its words (what the OCR must find, any
# case, blanks ignored).
declare -A range words
range[opening]="0 56";    words[opening]="glint presents|nine scenes|one heartbeat|QUILLON|108 bpm"
range[tunnel]="90 120";   words[tunnel]="follow|thread|through|quiet|light"
range[stack]="217 273";   words[stack]="WOVEN|FROM|LIGHT"
range[credits]="343 397"; words[credits]="quarkjay|vellum|mosswire|music|code|support"
range[finale]="397 419";  words[finale]="thank you for watching|QUILLON"

mkdir -p "$out/frames" "$out/text"
if [ "${REUSE:-0}" != 1 ]; then
  # One run for every scene asked for: the shots of all ranges together.
  lo=1000 hi=0
  for s in "${scenes[@]}"; do
    [ -n "${range[$s]:-}" ] || { echo "word-reads.sh: unknown scene $s" >&2; exit 1; }
    read -r a b <<<"${range[$s]}"
    [ "$a" -lt "$lo" ] && lo=$a
    [ "$b" -gt "$hi" ] && hi=$b
  done
  "$here/beat-shots.sh" "$out/frames" "$lo" "$hi" 0.5
fi

read_frame() {   # frame -> normalised text (lower case letters and digits only)
  local png=$1 name
  name=$(basename "$png" .png)
  if [ ! -s "$out/text/$name.txt" ]; then
    {
      tesseract "$png" - --psm 11 2>/dev/null || true
      "$convert" "$png" -colorspace gray -resize 200% -negate "$out/text/$name-neg.png"
      tesseract "$out/text/$name-neg.png" - --psm 11 2>/dev/null || true
      rm -f "$out/text/$name-neg.png"
    } | tr 'A-Z' 'a-z' | tr -cd 'a-z0-9\n' >"$out/text/$name.txt"
  fi
}

: >"$out/reads.txt"
for s in "${scenes[@]}"; do
  read -r a b <<<"${range[$s]}"
  IFS='|' read -r -a list <<<"${words[$s]}"
  declare -A first=()
  for beat in $(seq "$a" 0.5 "$b"); do
    name=$(awk -v b="$beat" 'BEGIN { if (b == int(b)) printf "b%03d", b; else printf "b%05.1f", b }')
    png="$out/frames/$name.png"
    [ -f "$png" ] || continue
    read_frame "$png"
    for w in "${list[@]}"; do
      [ -n "${first[$w]:-}" ] && continue
      key=$(tr 'A-Z' 'a-z' <<<"$w" | tr -cd 'a-z0-9')
      # Words may be read split over lines; the joined text catches those.
      if grep -q "$key" "$out/text/$name.txt" || tr -d '\n' <"$out/text/$name.txt" | grep -q "$key"; then
        first[$w]=$beat
      fi
    done
  done
  for w in "${list[@]}"; do
    printf '%-8s %-24s %s\n' "$s" "$w" "${first[$w]:--}" | tee -a "$out/reads.txt"
  done
  unset first
done
