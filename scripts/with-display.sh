#!/usr/bin/env bash
# Runs a command on a private Xvfb display with openbox as the window manager,
# then stops both. Usage: scripts/with-display.sh COMMAND [ARGS...]
set -euo pipefail
# Xvfb picks a free display number itself and writes it to the file (-displayfd):
# two runs side by side can never share a display.
numfile=$(mktemp)
if [ -n "${TUVEL_DISPLAY_NUMBER:-}" ]; then
  Xvfb ":$TUVEL_DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  echo "$TUVEL_DISPLAY_NUMBER" >"$numfile"
else
  Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$numfile" >/dev/null 2>&1 &
fi
xvfb_pid=$!
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -f "$numfile"
}
trap cleanup EXIT
# Waits up to 20 s (a loaded machine) for a condition while the process lives; fails
# at once when it ends.
wait_for() {  # wait_for PID WHAT CONDITION...
  local pid=$1 what=$2
  shift 2
  for _ in $(seq 1 400); do
    "$@" && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "with-display: $what exited before it was ready" >&2
      exit 1
    fi
    sleep 0.05
  done
  echo "with-display: $what did not come up within 20 seconds" >&2
  exit 1
}
display_ready() { n=$(head -n 1 "$numfile"); [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; }
wait_for "$xvfb_pid" Xvfb display_ready
export DISPLAY=":$n"
# Started from a Wayland desktop, the programs would type through its compositor.
unset WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
# openbox is ready once it owns the window-manager selection.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for "$wm_pid" openbox wm_ready
"$@"
