#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: pure and widget tests
# offscreen, display tests each on a private Xvfb with openbox, HTTP tests on 127.0.0.1,
# wayland tests each in a headless sway of their own (scripts/with-sway.sh), Windows
# builds under Wine; then the same tests built with the sanitizers, and a short run
# of each fuzzer.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each step says when it ends, so that a slow one shows in the log.
step() { echo "test.sh: $1 done at $((SECONDS / 60))m$((SECONDS % 60))s" >&2; }
scripts/setup-deps.sh build
# What only the tests need (Writer, Chromium, Java, Wine, mingw-w64, clang, ...) is
# installed while build/ is built; then build/ is configured again, as some tests are
# made only where Wine and mingw-w64 are installed.
deps_log=$(mktemp)
scripts/setup-deps.sh tests >"$deps_log" 2>&1 &
deps=$!
build_status=0
scripts/build.sh || build_status=$?
if ! wait "$deps"; then
  cat "$deps_log" >&2
  echo "Installing the packages the tests need failed" >&2
  exit 1
fi
cat "$deps_log" && rm -f "$deps_log"
((build_status == 0)) || exit "$build_status"
scripts/build.sh
step "packages and build/"
# The Windows build and its tests under Wine need the Qt kit for mingw-w64; without
# it the windows tests are skipped (ctest says why).
kit=${TUVEL_WINDOWS_KIT:-../shared/windows-kit/qt6.4.2-mingw64.tar.xz}
if [ -f "$kit" ]; then
  scripts/build-windows.sh --tests
  step "Windows build"
else
  echo "No Qt kit for Windows at $kit: the windows tests will be skipped"
fi
status=0
# Plain ctest: a test that needs a display starts a private one itself. Tests run side
# by side, one per core, where nothing forbids it (the end-to-end stories run alone).
(cd build && ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@") || status=$?
step "ctest"
# Everything again under the sanitizers, then a smoke run of each fuzzer.
scripts/test-asan.sh "$@" || status=1
step "sanitizer build, its ctest and the fuzzers"
# The installed folder and the Debian package (installed into this machine and removed).
scripts/test-package.sh || status=1
step "package"
# The code's layout (.clang-format).
scripts/check-format.sh || status=1
exit $status
