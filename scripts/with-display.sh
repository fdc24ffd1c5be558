#!/usr/bin/env bash
# Runs a command on a private Xvfb display with openbox as the window manager,
# then stops both. The command gets none of the caller's desktop: not its display,
# its Wayland compositor, its session or accessibility bus, nor its runtime folder
# (where those have their sockets). Usage: scripts/with-display.sh COMMAND [ARGS...]
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
  if [ -n "${runtime_dir:-}" ]; then rm -rf "$runtime_dir"; fi
}
trap cleanup EXIT
# Waits up to 20 s (a loaded machine) for a condition while the process lives.
# Returns 1 at once when the process ends, 2 when the time runs out.
wait_for() {  # wait_for PID CONDITION...
  local pid=$1
  shift
  for _ in $(seq 1 400); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 2
}
display_ready() { n=$(head -n 1 "$numfile"); [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]; }
if ! wait_for "$xvfb_pid" display_ready; then
  echo "with-display: Xvfb did not come up" >&2
  exit 1
fi
export DISPLAY=":$n"
# Started from a Wayland desktop, the programs would type through its compositor.
unset WAYLAND_DISPLAY WAYLAND_SOCKET XAUTHORITY
# Qt and the accessibility library would reach the caller's buses through these, or
# through the sockets in the caller's runtime folder ($XDG_RUNTIME_DIR/bus, at-spi/).
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
runtime_dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime_dir
# openbox is ready once it owns the window-manager selection. Now and then it ends at
# once on a busy machine; it is started again, up to three times, before giving up.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wm_log=$(mktemp)
for attempt in 1 2 3; do
  openbox --sm-disable >"$wm_log" 2>&1 &
  wm_pid=$!
  if wait_for "$wm_pid" wm_ready; then
    break
  fi
  echo "with-display: openbox did not come up (try $attempt):" >&2
  cat "$wm_log" >&2
  kill "$wm_pid" 2>/dev/null || true
  wait "$wm_pid" 2>/dev/null || true
  wm_pid=
  if ((attempt == 3)); then
    exit 1
  fi
done
rm -f "$wm_log"
"$@"
