#!/usr/bin/env bash
# Installs what glint needs, builds it and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${GLINT_CMAKE_FLAGS:-} >/dev/null
cmake --build build -j"$(nproc)"

# The window and dialog tests need an X display. Without one, a private
# virtual display lives as long as the tests. -noreset keeps it from
# restarting (and refusing connections) whenever its last client leaves.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null; rm -f "$displayfile"' EXIT
  for _ in $(seq 50); do
    [ -s "$displayfile" ] && break
    sleep 0.1
  done
  if [ -s "$displayfile" ]; then
    export DISPLAY=":$(cat "$displayfile")"
  else
    echo "test.sh: Xvfb did not start; the window tests are skipped" >&2
  fi
fi

cd build
ctest --output-on-failure -j"$(nproc)" "$@"
