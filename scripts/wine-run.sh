#!/usr/bin/env bash
# Runs a Windows program of the cross-build under Wine, with the kit's Qt DLLs and the
# mingw runtime on the DLL search path and a private prefix in build/wineprefix.
# Usage: scripts/wine-run.sh PROGRAM.exe [ARGS...]
# Wine needs an X display even for the offscreen platform plugin: run it on the private
# Xvfb (scripts/with-display.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$1
shift
if [ ! -f "$program" ]; then
  # 77: the tests count as skipped, not failed, until the Windows build is made.
  echo "SKIPPED: Windows build not made ($program missing): run scripts/build-windows.sh --tests"
  exit 77
fi
wine=${TUVEL_WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
qt=$root/build-win/qt6-mingw
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts when the prefix is made.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# TUVEL_WINE_BARE=1: a shipped program, which must find everything in its own folder.
if [ "${TUVEL_WINE_BARE:-}" = 1 ]; then
  unset WINEPATH QT_PLUGIN_PATH
else
  export WINEPATH="$(windows_path "$qt/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)"
  export QT_PLUGIN_PATH=$(windows_path "$qt/plugins")
fi
mkdir -p "$WINEPREFIX"
exec "$wine" "$program" "$@"
