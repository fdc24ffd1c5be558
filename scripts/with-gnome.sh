#!/usr/bin/env bash
# Runs a command in a headless GNOME Shell Wayland session of its own (with Xwayland),
# set up as a Japanese user's: jp keyboard layout and Mozc as input sources, Japanese
# locale and time zone. Started as root, everything runs as the user of scripts/as-user.sh
# (Mozc refuses root), with a fresh home. The session has buses of its own (session and
# "system") and a keyboard and pointer that tests drive with tests/gnome/gnomedesk.py
# (on PYTHONPATH; TUVEL_GNOME_INPUT names its command FIFO). The command gets
# WAYLAND_DISPLAY, DISPLAY, XAUTHORITY, the buses' addresses, XDG_RUNTIME_DIR,
# TUVEL_GNOME_LOG (the shell's log) and keeps its exit status. TUVEL_IBUS_COMPONENTS, when
# set, is a folder of IBus components installed for the run (as the package installs its own). Exits 77 (a skip for ctest)
# when gnome-shell is missing or the session does not come up.
# Usage: scripts/with-gnome.sh COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
files=$(cd "$here/../tests/gnome" && pwd)
skip() { echo "SKIP: $*: no GNOME session" >&2; exit 77; }

if [ -z "${TUVEL_WITH_GNOME_RUN:-}" ]; then
  t0=$(date +%s%N)
  command -v gnome-shell >/dev/null || skip "gnome-shell is not installed"
  # Xwayland will not start unless the X socket folder is root's and open to all.
  if [ "$(id -u)" = 0 ]; then
    mkdir -p /tmp/.X11-unix && chown root: /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
  fi
  [ "$(stat -c %u:%a /tmp/.X11-unix 2>/dev/null)" = 0:1777 ] || skip "/tmp/.X11-unix is not root's with mode 1777"
  unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET DBUS_SYSTEM_BUS_ADDRESS AT_SPI_BUS_ADDRESS
  # IBus components of the tests' own (the package's), where the package puts them: the
  # session's IBus takes a system cache as it stands, so they go into it, for the run.
  added=()
  if [ -n "${TUVEL_IBUS_COMPONENTS:-}" ] && [ "$(id -u)" = 0 ] && command -v ibus >/dev/null; then
    for component in "$TUVEL_IBUS_COMPONENTS"/*.xml; do
      target=/usr/share/ibus/component/$(basename "$component")
      [ -e "$target" ] && continue
      cp "$component" "$target" && added+=("$target")
    done
    ibus write-cache --system
  fi
  status=0
  TUVEL_WITH_GNOME_RUN=$t0 "$here/as-user.sh" "$here/with-gnome.sh" "$@" || status=$?
  if ((${#added[@]})); then
    rm -f "${added[@]}"
    ibus write-cache --system
  fi
  exit "$status"
fi

# From here on as the test user; as-user.sh removes the home and the runtime folder and
# ends whatever is still running with its mark.
export PATH=/usr/local/bin:/usr/bin:/bin LANG=ja_JP.UTF-8 TZ=Asia/Tokyo
unset LC_ALL LANGUAGE
run=$XDG_RUNTIME_DIR
log=$run/gnome-shell.log
mkdir -m 700 "$run/system-bus"
sed "s|@DIR@|$run/system-bus|" "$files/system-bus.conf.in" >"$run/system-bus/bus.conf"
# shellcheck disable=SC2317  # run on exit
cleanup() {
  local status=$? pid
  set +e
  [ -n "${input_pid:-}" ] && kill "$input_pid" 2>/dev/null
  if [ -n "${shell_pid:-}" ]; then
    kill "$shell_pid" 2>/dev/null
    for _ in $(seq 1 100); do kill -0 "$shell_pid" 2>/dev/null || break; sleep 0.05; done
  fi
  # What the session bus started or the shell left (ibus-daemon, mozc_server, ...).
  for pid in $(pgrep -u "$(id -u)"); do
    if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null \
      | grep -qxF "DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS"; then
      kill "$pid" 2>/dev/null
    fi
  done
  kill "${session_bus_pid:-}" "${system_bus_pid:-}" 2>/dev/null
  exit "$status"
}
trap cleanup EXIT
system_bus_pid=$(dbus-daemon --config-file="$run/system-bus/bus.conf" --fork --print-pid --nopidfile)
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$run/system-bus/system_bus_socket
export DBUS_SESSION_BUS_ADDRESS=unix:path=$run/bus
session_bus_pid=$(dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --fork --print-pid --nopidfile)

extensions=$XDG_DATA_HOME/gnome-shell/extensions
mkdir -p "$extensions"
cp -r "$files/extension/harness-unsafe@tuvel" "$extensions/"
gsettings set org.gnome.shell enabled-extensions "['harness-unsafe@tuvel']"
gsettings set org.gnome.desktop.input-sources sources "[('xkb', 'jp'), ('ibus', 'mozc-jp')]"

export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
gnome-shell --headless --wayland --virtual-monitor 1280x800 --wayland-display=wayland-0 >"$log" 2>&1 &
shell_pid=$!
# 3-8 s here; much longer on a loaded machine.
deadline=$((SECONDS + 60))
while ((SECONDS < deadline)); do
  grep -q 'GNOME Shell started' "$log" && break
  kill -0 "$shell_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q 'GNOME Shell started' "$log"; then
  tail -n 15 "$log" >&2
  kill -0 "$shell_pid" 2>/dev/null || skip "gnome-shell ended at start"
  skip "gnome-shell did not start within 60 s"
fi
export WAYLAND_DISPLAY=wayland-0 PYTHONPATH=$files${PYTHONPATH:+:$PYTHONPATH}
xwayland=$(pgrep -a -P "$shell_pid" Xwayland || true)
[ -n "$xwayland" ] || skip "gnome-shell started no Xwayland"
DISPLAY=$(awk '{print $3}' <<<"$xwayland")
XAUTHORITY=$(grep -o -- '-auth [^ ]*' <<<"$xwayland" | cut -d' ' -f2)
export DISPLAY XAUTHORITY
dbus-update-activation-environment WAYLAND_DISPLAY DISPLAY XAUTHORITY XDG_CURRENT_DESKTOP \
  XDG_SESSION_TYPE DBUS_SYSTEM_BUS_ADDRESS LANG TZ
# It starts in the overview, where no window has the focus.
python3 "$files/gnomedesk.py" eval 'Main.overview.hide()' >/dev/null || skip "Eval does not answer"

export TUVEL_GNOME_INPUT=$run/input TUVEL_GNOME_LOG=$log
python3 "$files/gnomedesk.py" serve "$TUVEL_GNOME_INPUT" >"$run/input.log" 2>&1 &
input_pid=$!
for _ in $(seq 1 200); do [ -p "$TUVEL_GNOME_INPUT" ] || ! kill -0 "$input_pid" 2>/dev/null && break; sleep 0.1; done
[ -p "$TUVEL_GNOME_INPUT" ] || { cat "$run/input.log" >&2; skip "no remote-desktop keyboard"; }
# Mutter makes its virtual keyboard on the first key (Shift); until then no window gets focus.
timeout 20 python3 "$files/gnomedesk.py" key 42 || skip "the first key did not go through"
echo "with-gnome: session up in $((($(date +%s%N) - TUVEL_WITH_GNOME_RUN) / 1000000)) ms" >&2

status=0
"$@" || status=$?
exit "$status"
