#!/usr/bin/env bash
# Cross-builds tuvelv.exe and kox.exe for 64-bit Windows (mingw-w64, POSIX threads)
# against a Qt kit, with the Win32 backends, into build-win/, and gathers the folder a
# user unzips, build-win/tuvelv-win64/, and build-win/tuvelv-win64.zip.
#
# The kit is a tarball of Qt for mingw-w64 (scripts/make-windows-kit.sh makes one):
#   TUVEL_WINDOWS_KIT  default ../shared/windows-kit/qt6.4.2-mingw64.tar.xz, relative to
#                      the repository root. It is unpacked into build-win/.
# Usage: scripts/build-windows.sh [--tests]   (--tests: also the test programs run under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
kit=${TUVEL_WINDOWS_KIT:-../shared/windows-kit/qt6.4.2-mingw64.tar.xz}
out=$root/build-win

if [ ! -f "$kit" ]; then
  echo "build-windows: no Qt kit at $kit (set TUVEL_WINDOWS_KIT)" >&2
  exit 2
fi
kit=$(realpath "$kit")
mkdir -p "$out"

# Unpack the kit once per tarball (its name, size and date stand for its content).
stamp="$kit $(stat -c '%s %Y' "$kit")"
if [ ! -d "$out/qt6-mingw" ] || [ "$(cat "$out/kit.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Unpacking $kit"
  rm -rf "$out/qt6-mingw"
  tar -xJf "$kit" -C "$out"
  printf '%s\n' "$stamp" >"$out/kit.stamp"
fi
qt=$out/qt6-mingw

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
if ! log=$(cmake -S . -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DTUVEL_PLATFORM_BACKEND=win32 "${launcher[@]}" 2>&1); then
  printf '%s\n' "$log" >&2
  exit 1
fi
targets=(tuvelv kox sample_data)
if [ "${1:-}" = --tests ]; then
  mapfile -t units < <(grep '^tst_' tests/windows/wine-tests.txt)
  targets+=("${units[@]}" tst_typer_win32 tuvel_typing_sink_win32 winprobe)
fi
cmake --build "$out/cmake" -j"${TUVEL_JOBS:-$(nproc)}" --target "${targets[@]}"

scripts/package-windows.sh "$out/cmake/app" "$qt" "$out/tuvelv-win64"
