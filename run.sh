#!/usr/bin/env bash
# Installs what glint needs, builds it and starts the show from build/, where
# its data lives. Arguments go to the program: ./run.sh /w/s3, ./run.sh --help.
# Without a screen and without arguments it renders the whole show headless
# into build/quillon.avi (with its music; an existing capture is never
# overwritten: the next free quillon-N.avi is used). Ctrl+C (or SIGTERM)
# ends a run and still leaves a playable file.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cd build
if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no screen; rendering the show into build/quillon.avi" >&2
  exec ./glint --headless /w/m
fi
exec ./glint "$@"
