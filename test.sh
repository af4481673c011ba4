#!/usr/bin/env bash
# Installs what glint needs, builds it and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${GLINT_CMAKE_FLAGS:-} >/dev/null
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j"$(nproc)" "$@"
