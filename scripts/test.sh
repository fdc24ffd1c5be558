#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: pure and widget tests
# offscreen, display tests on a private Xvfb with openbox, HTTP tests on 127.0.0.1;
# then the same tests built with the sanitizers, and a short run of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-deps.sh
scripts/build.sh
(cd build && ../scripts/with-display.sh ctest --output-on-failure --timeout 300 "$@")
# Everything again under the sanitizers, then a smoke run of each fuzzer.
scripts/test-asan.sh "$@"
