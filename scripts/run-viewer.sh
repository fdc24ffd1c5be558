#!/usr/bin/env bash
# Installs what is missing, builds, and starts the viewer on the shipped data box.
# Without a display it starts a private Xvfb with openbox and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh
# list.txt names its lists relative to the current directory: start in the app folder.
if [ -n "${DISPLAY:-}" ]; then
  cd build/app && exec ./tuvelv
fi
echo "No DISPLAY: running on a private Xvfb; a screenshot goes to build/screenshot.png"
exec scripts/with-display.sh bash -c '
  (cd build/app && exec ./tuvelv) & pid=$!
  sleep 4
  xwd -root -silent > build/screenshot.xwd 2>/dev/null || true
  if command -v convert >/dev/null; then convert build/screenshot.xwd build/screenshot.png || true; fi
  wait $pid'
