#!/usr/bin/env bash
# Pictures of the whole show for a reader, tiled into one labelled image.
#
#   bench/contact-sheet.sh [OUT] [STEP]
#       one frame every STEP beats (from STEP/2 on, so no tile falls on a
#       scene's first frame), labelled with its scene and beat; defaults
#       docs/contact-sheet.jpg and 8.
#   bench/contact-sheet.sh --changes [OUT]
#       every scene change as a viewer sees it: the outgoing scene's last
#       frame and the incoming scene's first two, one row per change;
#       default OUT scene-changes.jpg.
#
# One headless run plays the show from its first frame on the capture clock
# (20 frames per second, as a capture does) and saves every shot on the way;
# it ends after the last. Playing it through rather than starting each scene
# with /sN costs a few minutes but shows each scene as the show leaves it:
# the fluid flows the picture the funk sphere left, the ribbon tunnel starts
# from the frames the abstract flowers cross-fade into it.
#
# The scene names and first beats come from the show's music (glint-tool
# music-info): its sections start on the scenes' first beats.
# Needs a build (build/glint, build/glint-tool, build/data) and ImageMagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
tempo=108
fps=20            # the capture clock's default frame rate
end_beat=419      # the show's last beat

changes=false
if [ "${1:-}" = --changes ]; then
  changes=true
  shift
  out=${1:-scene-changes.jpg}
else
  out=${1:-$root/docs/contact-sheet.jpg}
  step=${2:-8}
  if ! [[ $step =~ ^[0-9]+$ ]] || [ "$step" -lt 1 ]; then
    echo "contact-sheet: STEP must be a whole number of beats, at least 1 (got '$step')" >&2
    exit 2
  fi
fi
case $out in /*) ;; *) out=$PWD/$out ;; esac
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

# The show's clock runs 0.01 s behind the frame clock: frame k shows
# k / fps - 0.01 seconds of the show.
shots=() labels=()
add_frame() {   # FRAME LABEL
  local file
  file=$(printf '%s/frame%05d.png' "$work" "$1")
  # The first frame whose time reaches halfway to frame k is frame k.
  shots+=(--shot "$(awk -v k="$1" -v fps="$fps" 'BEGIN { printf "%.4f", (k - 0.5) / fps }'):$file")
  labels+=(-label "$2" "$file")
}
beat_of_frame() {
  awk -v k="$1" -v fps="$fps" -v tempo="$tempo" 'BEGIN { printf "%.2f", (k / fps - 0.01) * tempo / 60 }'
}

if $changes; then
  previous=""
  while read -r beat name; do
    if [ -n "$previous" ]; then
      # A scene ends on the first frame that reaches the next one's start:
      # that frame is still its own, the next frame the new scene's first.
      last=$(awk -v b="$beat" -v fps="$fps" -v tempo="$tempo" \
        'BEGIN { k = (b * 60 / tempo + 0.01) * fps; f = int(k); print (f < k ? f + 1 : f) }')
      add_frame "$last" "$previous · last frame, beat $(beat_of_frame "$last")"
      for k in $((last + 1)) $((last + 2)); do
        add_frame "$k" "$name · beat $(beat_of_frame "$k")"
      done
    fi
    previous=$name
  done <"$work/scenes"
  tiles=(-tile 3x -geometry 320x240+3+3 -pointsize 13)
else
  for ((beat = step / 2; beat < end_beat; beat += step)); do
    k=$(awk -v b="$beat" -v fps="$fps" -v tempo="$tempo" 'BEGIN { print int((b * 60 / tempo + 0.01) * fps) + 1 }')
    add_frame "$k" "$(scene_of_beat "$beat") · beat $beat"
  done
  tiles=(-tile 8x -geometry 160x120+3+3 -pointsize 10)
fi

echo "contact-sheet: rendering $((${#shots[@]} / 2)) frames in one run over the show (a few minutes)" >&2
(cd "$build" && ./glint --headless "${shots[@]}" / >"$work/glint.log" 2>&1) || {
  tail -20 "$work/glint.log" >&2
  echo "contact-sheet: the show run failed" >&2
  exit 1
}

font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
font_args=()
[ -e "$font" ] && font_args=(-font "$font")
mkdir -p "$(dirname "$out")"
montage "${font_args[@]}" -fill '#dddddd' -background '#202020' "${labels[@]}" "${tiles[@]}" -quality 85 "$out"
echo "contact-sheet: wrote $out ($(du -k "$out" | cut -f1) kB)" >&2
