#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: pure and widget tests
# offscreen, display tests on a private Xvfb with openbox, HTTP tests on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh
cd build
../scripts/with-display.sh ctest --output-on-failure --timeout 300 "$@"
