#!/usr/bin/env bash
# Runs a command on a private headless sway (wlroots Wayland compositor, with XWayland),
# then stops sway. sway refuses to run as root, so as root both sway and the command run
# as the unprivileged user tuvelwayland, made on first use (XWayland lets in only the
# user it runs as). The command gets WAYLAND_DISPLAY, DISPLAY (the XWayland display),
# SWAYSOCK and a HOME of its own. Exits 77 (a skip for ctest) when sway cannot start.
# Usage: scripts/with-sway.sh COMMAND [ARGS...]
set -euo pipefail
skip() { echo "SKIP: $*: no Wayland session for the wayland tests" >&2; exit 77; }
command -v sway >/dev/null || skip "sway is not installed"
user=$(id -un)
if [ "$(id -u)" = 0 ]; then
  user=tuvelwayland
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" \
    || skip "cannot make the user $user"
fi
runtime=$(mktemp -d /tmp/tuvel-sway.XXXXXX)
chmod 700 "$runtime"
chown "$user" "$runtime"
config="$runtime/config"
cat >"$config" <<CONF
xwayland force
output HEADLESS-1 resolution 1280x800
exec sh -c 'echo "\$DISPLAY" > $runtime/display.part && mv $runtime/display.part $runtime/display'
CONF
chmod 644 "$config"
sway_env=(env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman)
if [ "$user" != "$(id -un)" ]; then
  runuser -u "$user" -- "${sway_env[@]}" sway -c "$config" >"$runtime/sway.log" 2>&1 &
else
  "${sway_env[@]}" sway -c "$config" >"$runtime/sway.log" 2>&1 &
fi
sway_pid=$!
cleanup() {
  kill "$sway_pid" 2>/dev/null || true
  wait "$sway_pid" 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 1 200); do
  [ -s "$runtime/display" ] && ls "$runtime"/wayland-* >/dev/null 2>&1 && break
  kill -0 "$sway_pid" 2>/dev/null || break
  sleep 0.05
done
socket=$(ls "$runtime"/wayland-? 2>/dev/null | head -n1 || true)
if [ -z "$socket" ] || [ ! -s "$runtime/display" ]; then
  tail -n 5 "$runtime/sway.log" >&2 || true
  skip "headless sway did not start"
fi
export WAYLAND_DISPLAY="$socket"
export DISPLAY=$(cat "$runtime/display")
export SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock | head -n1)
export XDG_RUNTIME_DIR="$runtime"
export HOME="$runtime"
unset XAUTHORITY SESSION_MANAGER
as_user=()
[ "$user" != "$(id -un)" ] && as_user=(runuser -u "$user" --preserve-environment --)
if [ ${#as_user[@]} -gt 0 ] && ! "${as_user[@]}" test -x "$1"; then
  skip "$user cannot run $1 (a folder on its path is closed to other users)"
fi
# XWayland is up once it answers.
for _ in $(seq 1 100); do "${as_user[@]}" xprop -root >/dev/null 2>&1 && break; sleep 0.05; done
# Not exec'd: sway is stopped when the command ends, however it ends.
"${as_user[@]}" "$@"
