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
echo "No DISPLAY: running on a private Xvfb; a screenshot goes to build/screenshot.png (Ctrl+C stops)"
# ImageMagick's import takes the screenshot; only this path needs it.
if ! command -v import >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends imagemagick >/dev/null
fi
exec scripts/with-display.sh bash -c '
  (cd build/app && exec ./tuvelv) & pid=$!
  sleep 5
  import -window root build/screenshot.png && echo "Saved build/screenshot.png"
  wait $pid'
