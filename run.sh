#!/usr/bin/env bash
# Installs what glint needs, builds it and starts the show from build/, where
# its data lives. Arguments go to the program: ./run.sh /w/s3, ./run.sh --help.
# Without a screen the show runs headless; Ctrl+C (or SIGTERM) ends it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cd build
exec ./glint "$@"
