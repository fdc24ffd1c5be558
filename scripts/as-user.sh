#!/usr/bin/env bash
# Runs a command as an ordinary desktop user with a fresh, empty home of its own, so that
# each run starts from a clean input-method configuration. Started as root, the command
# runs as the unprivileged system user tuveluser, made on first use (the Mozc conversion
# server will not run as root). The command keeps the caller's environment (DISPLAY,
# TUVEL_* and so on) with HOME, USER, LOGNAME, XDG_CONFIG_HOME, XDG_CACHE_HOME,
# XDG_DATA_HOME and XDG_RUNTIME_DIR of its own; the home and the runtime folder are
# removed afterwards. Exits 77 (a skip for ctest) when the user cannot be made or cannot
# run the command. Usage: scripts/as-user.sh COMMAND [ARGS...]
set -euo pipefail
skip() { echo "SKIP: $*" >&2; exit 77; }
user=$(id -un)
if [ "$(id -u)" = 0 ]; then
  user=tuveluser
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" \
    || skip "cannot make the user $user"
fi
home=$(mktemp -d /tmp/tuvel-home.XXXXXX)
runtime=$(mktemp -d /tmp/tuvel-runtime.XXXXXX)
# What the command left running (the Mozc server outlives its framework, for example)
# carries the run's mark in its environment: those processes, and only those, end.
mark="TUVEL_AS_USER_RUN=$home"
leftovers() {
  local pid
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "$mark"; then
      echo "$pid"
    fi
  done
}
cleanup() {
  local status=$? pids
  pids=$(leftovers)
  if [ -n "$pids" ]; then
    kill $pids 2>/dev/null || true
    sleep 1
    kill -9 $(leftovers) 2>/dev/null || true
  fi
  rm -rf "$home" "$runtime"
  exit "$status"
}
trap cleanup EXIT
mkdir -p "$home/.config" "$home/.cache" "$home/.local/share"
chmod 700 "$home" "$runtime"
chown -R "$user:" "$home" "$runtime"
export HOME="$home" USER="$user" LOGNAME="$user" XDG_RUNTIME_DIR="$runtime"
export XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" XDG_DATA_HOME="$home/.local/share"
unset XAUTHORITY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
as_user=()
[ "$user" != "$(id -un)" ] && as_user=(runuser -u "$user" --preserve-environment --)
# Every folder on the way to the command and the script it runs must be open to the user.
for file in "$@"; do
  case "$file" in /*) [ -e "$file" ] || continue ;; *) continue ;; esac
  "${as_user[@]}" test -r "$file" || skip "$user cannot read $file (a folder on its path is closed to other users)"
done
# The X server must let the user in.
if [ -n "${DISPLAY:-}" ] && ! "${as_user[@]}" xprop -root >/dev/null 2>&1; then
  skip "$user cannot connect to the display $DISPLAY"
fi
# Not exec'd: the home is removed when the command ends, however it ends.
"${as_user[@]}" env "$mark" "$@"
