#!/usr/bin/env bash
# The sanitizer build: clang with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer in build-asan/, the fuzzers included. Runs every test
# there, then a smoke run of each fuzzer (scripts/fuzz.sh). Fails on any sanitizer
# report, also one from a program a test starts: reports go to files, not to the
# test's output, and any file left means failure.
# Arguments go to ctest (e.g. -R tst_keyfile).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if ! log=$(cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTUVEL_BUILD_BENCHMARKS=OFF \
    -DTUVEL_SANITIZE=ON -DTUVEL_FUZZ=ON "${launcher[@]}" 2>&1); then
  printf '%s\n' "$log" >&2
  exit 1
fi
cmake --build build-asan -j"$(nproc)"

source scripts/sanitizer-env.sh
reports=$root/build-asan/sanitizer-reports
rm -rf "$reports" && mkdir -p "$reports"
export ASAN_OPTIONS="$ASAN_OPTIONS:log_path=$reports/report"
export UBSAN_OPTIONS="$UBSAN_OPTIONS:log_path=$reports/report"

status=0
# tst_raw_win32, tst_raw_ime and the windows tests run programs that mingw-w64 builds without
# sanitizers; the plain build runs them. It alone runs the stories that type into other
# programs too (Writer, Swing, Chromium; a GTK window on sway or in GNOME; the fcitx5
# story): what they try is those programs' timing, and the viewer's code they run (the X11
# and Wayland typers, the fcitx5 switch, the IBus engine) runs here in the typer tests, the
# input-method stand-ins and the IBus story. A
# sanitizer report fails the run even when its test passed, as it is read from the
# report files below.
(cd build-asan && ctest --output-on-failure --timeout 600 -j"$(nproc)" \
   -E '^(tst_raw_(win32|ime)|e2e_typing_applications|e2e_input_method_fcitx5|e2e_gnome_typing|wayland_input_method_fcitx5)$' -LE '^windows$' "$@") \
  || status=$?
if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  for f in "$reports"/*; do echo "== $f" >&2; cat "$f" >&2; done
  status=1
fi
((status == 0)) || exit "$status"
scripts/fuzz.sh smoke
