#!/usr/bin/env bash
# Builds and runs every benchmark, those that need a display on a private one
# (scripts/with-display.sh; the Wayland one under scripts/with-sway.sh, the download one
# only where nginx is installed, the applications one only where they are), then prints
# one table: each goal's ratio, measured against its floor in the same run, and whether
# it is met. Each benchmark's whole output stays in the folder named at the end. Exits 2
# when a goal is missed.
# Usage: scripts/bench.sh [BUILD_DIR]   (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bench/bin
out=$(mktemp -d /tmp/tuvel-bench.XXXXXX)

# Only the benchmarks this configuration has (some need X11 or a sink driver).
available=$(cmake --build "$build" --target help 2>/dev/null | grep -oE '^\.\.\. (bench_[a-z0-9_]+|bare_window)$' |
  grep -v '_autogen$' | cut -c5-)
if [ -z "$available" ]; then
  echo "no benchmarks in $build: configure it with -DTUVEL_BUILD_BENCHMARKS=ON" >&2
  exit 1
fi
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $available >"$out/build.log" 2>&1 || {
  echo "building the benchmarks failed; see $out/build.log" >&2
  exit 1
}
has() { [ -x "$bin/$1" ]; }

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "load average before: $(load)" >"$out/load.txt"

run() {  # run NAME COMMAND... : output to $out/NAME.txt
  local name=$1
  shift
  echo "running $name ..." >&2
  "$@" >"$out/$name.txt" 2>&1
  echo "$?" >"$out/$name.rc"
}

for b in bench_cp932 bench_catalogue bench_keys bench_longline bench_longtexts; do
  has $b && run $b env QT_QPA_PLATFORM=offscreen "$bin/$b"
done
has bench_startup && run bench_startup scripts/with-display.sh "$bin/bench_startup"
has bench_typing && run bench_typing scripts/with-display.sh "$bin/bench_typing"
has bench_typing_wayland && command -v sway >/dev/null && run bench_typing_wayland scripts/with-sway.sh "$bin/bench_typing_wayland"
has bench_download && command -v nginx >/dev/null && run bench_download "$bin/bench_download"
# Into Writer, a Swing text area and Chromium with Mozc on, as the applications story runs.
apps_installed() {
  command -v soffice && command -v chromium && command -v java && command -v fcitx5 && [ -x /usr/lib/mozc/mozc_server ] &&
    compgen -G '/usr/lib/*/fcitx5/fcitx5-mozc.so'
} >/dev/null
# Bounded: an application given garbled input (xdotool at short delays) can hang.
[ -x "$build/app/tuvelv" ] && apps_installed && run bench_typing_applications env TUVEL_APP_DIR="$(realpath "$build/app")" \
  timeout 1800 scripts/with-display.sh scripts/as-user.sh /usr/bin/python3 -W ignore::DeprecationWarning -W ignore::ImportWarning \
  "$PWD/bench/bench_typing_applications.py"
# GNOME on Wayland: the key through the viewer's IBus engine, in a headless session.
[ -x "$build/app/tuvelv" ] && command -v gnome-shell >/dev/null && [ -x /usr/lib/mozc/mozc_server ] &&
  run bench_gnome_typing env TUVEL_APP_DIR="$(realpath "$build/app")" TUVEL_IBUS_COMPONENTS="$PWD/packaging/ibus" \
    scripts/with-gnome.sh /usr/bin/python3 -W ignore::DeprecationWarning "$PWD/bench/bench_gnome_typing.py"
echo "load average after:  $(load)" >>"$out/load.txt"

# A goal is either a line "goal: WHAT | RATIO | OP | LIMIT | ok/MISSED", or an older
# line that ends in "RATIO (goal OP LIMIT)" (an x after either number allowed); where
# such a line gives several ratios ("ratio R"), the goal holds for the worst of them.
missed=0
{
  echo "| benchmark | goal | ratio | limit | |"
  echo "|---|---|---|---|---|"
  for f in "$out"/bench_*.txt; do
    [ -e "$f" ] || continue
    name=$(basename "$f" .txt)
    found=0
    while IFS= read -r line; do
      if [[ $line =~ ^goal:\ (.*)\ \|\ ([0-9.]+)\ \|\ (<=|>=)\ \|\ ([0-9.]+)\ \|\ (ok|MISSED)$ ]]; then
        echo "| $name | ${BASH_REMATCH[1]} | ${BASH_REMATCH[2]} | ${BASH_REMATCH[3]} ${BASH_REMATCH[4]} | ${BASH_REMATCH[5]} |"
        [ "${BASH_REMATCH[5]}" = ok ] || missed=1
        found=1
      elif [[ $line =~ ([0-9.]+)x?\)?\ \(goal\ (<=|>=)\ ([0-9.]+)x?\) ]]; then
        ratio=${BASH_REMATCH[1]} op=${BASH_REMATCH[2]} limit=${BASH_REMATCH[3]}
        ratio=$(grep -oE 'ratio [0-9.]+' <<<"$line" | cut -d' ' -f2 | { cat; echo "$ratio"; } |
          sort -g | if [ "$op" = "<=" ]; then tail -1; else head -1; fi)
        if awk -v r="$ratio" -v l="$limit" -v o="$op" 'BEGIN { exit !((o == "<=") ? r <= l : r >= l) }'; then
          verdict=ok
        else
          verdict=MISSED
          missed=1
        fi
        echo "| $name | ${line%%:*} | $ratio | $op $limit | $verdict |"
        found=1
      fi
    done <"$f"
    if [ "$found" = 0 ]; then
      echo "| $name | (no goal line; exit $(cat "$out/$name.rc")) | | | |"
    fi
  done
} >"$out/table.md"
cat "$out/table.md"
cat "$out/load.txt"
echo "each benchmark's output: $out"
exit $((missed * 2))
