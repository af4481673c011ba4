#!/usr/bin/env bash
# Renders a contact sheet of the whole show: one frame every STEP beats
# (from STEP/2 on, so no tile falls on a scene's first frame), each labelled
# with its scene and beat, tiled into one picture.
#
#   bench/contact-sheet.sh [OUT] [STEP]     (defaults: docs/contact-sheet.jpg, 8)
#
# One headless run plays the show from its first frame on the capture clock
# (20 frames per second, as a capture does) and saves every shot on the way;
# it ends after the last. Playing it through rather than starting each scene
# with /sN costs a minute or two but shows each scene as the show leaves it:
# the fluid flows the picture the funk sphere left, the ribbon tunnel starts
# from the frames the abstract flowers cross-fade into it.
#
# The scene names and first beats come from the show's music (glint-tool
# music-info): its sections start on the scenes' first beats.
# Needs a build (build/glint, build/glint-tool, build/data) and ImageMagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/contact-sheet.jpg}
step=${2:-8}
build=$root/build
tempo=108
end_beat=419      # the show's last beat

case $out in /*) ;; *) out=$PWD/$out ;; esac
if ! [[ $step =~ ^[0-9]+$ ]] || [ "$step" -lt 1 ]; then
  echo "contact-sheet: STEP must be a whole number of beats, at least 1 (got '$step')" >&2
  exit 2
fi
for tool in montage convert; do
  command -v "$tool" >/dev/null || { echo "contact-sheet: ImageMagick's $tool is not installed" >&2; exit 1; }
done
for file in "$build/glint" "$build/glint-tool" "$build/data/quillon.mp3"; do
  [ -e "$file" ] || { echo "contact-sheet: $file is missing; build first (cmake --build build)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "BEAT NAME" per scene, in show order.
"$build/glint-tool" music-info "$build/data/quillon.mp3" |
  awk '/^sections/ { on = 1; next }
       on && $3 == "s" && $8 == "dB" {
         name = $9; for (i = 10; i <= NF; ++i) name = name " " $i
         print $1, name }' >"$work/scenes"
[ -s "$work/scenes" ] || { echo "contact-sheet: no scene starts in glint-tool music-info's answer" >&2; exit 1; }

scene_of_beat() {
  awk -v b="$1" '$1 <= b { $1 = ""; name = substr($0, 2) } END { print name }' "$work/scenes"
}

# A shot is the first frame whose show time reaches its time; the show's
# clock starts 0.01 s behind the frame clock, hence the small lead.
shots=() labels=()
for ((beat = step / 2; beat < end_beat; beat += step)); do
  file=$(printf '%s/beat%03d.png' "$work" "$beat")
  seconds=$(awk -v b="$beat" -v tempo="$tempo" 'BEGIN { printf "%.4f", b * 60 / tempo + 0.011 }')
  shots+=(--shot "$seconds:$file")
  labels+=(-label "$(scene_of_beat "$beat") · beat $beat" "$file")
done

echo "contact-sheet: rendering $((${#shots[@]} / 2)) frames, one run over the show (about two minutes)" >&2
(cd "$build" && ./glint --headless "${shots[@]}" / >"$work/glint.log" 2>&1) || {
  tail -20 "$work/glint.log" >&2
  echo "contact-sheet: the show run failed" >&2
  exit 1
}

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
font_args=()
[ -e "$font" ] && font_args=(-font "$font")
mkdir -p "$(dirname "$out")"
montage "${font_args[@]}" -pointsize 10 -fill '#dddddd' -background '#202020' \
  "${labels[@]}" -tile 8x -geometry 160x120+3+3 -quality 85 "$out"
echo "contact-sheet: wrote $out ($(du -k "$out" | cut -f1) kB)" >&2
