#!/usr/bin/env bash
# Checks what a user gets from a build folder (default build/; run after building it):
#  - `cmake --install` lays out the folder a user unpacks: programs, data box, list.txt;
#  - `cpack -G DEB` makes a Debian package that lintian, desktop-file-validate and
#    appstreamcli pass without errors or warnings;
#  - the package, installed into this machine (as root, with dpkg), serves an ordinary
#    user with a fresh home: tests/package/installed_user.py starts /usr/bin/tuvelv on a
#    private display, finds the samples copied into ~/.local/share/tuvelv, adds and
#    registers lists, and has kox update one from nginx on 127.0.0.1;
#  - removing and purging the package leaves that user's lists as they were.
# Usage: scripts/test-package.sh [BUILD_FOLDER]
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
cd "${1:-$source/build}"
failed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failed=1; fi
}
work=$(mktemp -d)
installed=
user_home=
cleanup() {
  [ -n "$installed" ] && { dpkg -P tuvelv >/dev/null || true; }
  [ -n "$user_home" ] && rm -rf "$user_home"
  rm -rf "$work"
}
trap cleanup EXIT

# The folder a user unpacks: everything beside the programs, as before.
folder=$work/folder
cmake --install . --prefix "$folder" >/dev/null
for f in tuvelv kox list.txt tuveldbox/greetings.txt lists/keigo.txt; do
  check "installed folder has $f" test -e "$folder/$f"
done
check "installed programs are executable" test -x "$folder/tuvelv" -a -x "$folder/kox"
check "installed data box is the shipped one" diff -r "$source/data/tuveldbox" "$folder/tuveldbox"
if [ -f app/translations/qtbase_ja.qm ]; then
  check "installed folder has translations/" test -f "$folder/translations/qtbase_ja.qm"
fi
check "installed folder has none of the package's files" test ! -e "$folder/lib" -a ! -e "$folder/share"

# The Debian package and its checkers.
rm -f tuvelv_*.deb
cpack -G DEB >/dev/null
deb=$(ls tuvelv_*.deb)
echo "lintian $deb:"
check "lintian reports no errors or warnings" lintian --fail-on error,warning "$deb"
contents=$work/contents
dpkg-deb -x "$deb" "$contents"
desktop=$contents/usr/share/applications/tuvelv.desktop
check "menu entry is valid" desktop-file-validate "$desktop"
check "menu entry starts the viewer by name" grep -qx 'Exec=tuvelv' "$desktop"
check "AppStream file is valid" appstreamcli validate --no-net "$contents/usr/share/metainfo/org.example.tuvel.tuvelv.metainfo.xml"
check "package has nothing in /opt" test ! -e "$contents/opt"
check "kox stays out of /usr/bin" test ! -e "$contents/usr/bin/kox"

if dpkg -s tuvelv >/dev/null 2>&1; then
  echo "test-package: a tuvelv package is installed already; not touching it" >&2
  exit 1
fi
dpkg -i "$deb" >/dev/null
installed=yes
check "package installs the programs" test -x /usr/lib/tuvelv/tuvelv -a -x /usr/lib/tuvelv/kox
check "/usr/bin/tuvelv starts the viewer" test "$(readlink -f /usr/bin/tuvelv)" = /usr/lib/tuvelv/tuvelv
check "package installs the sample data box" diff -r "$source/data/tuveldbox" /usr/share/tuvelv/tuveldbox
check "package installs the sample list.txt" cmp "$source/data/list.txt" /usr/share/tuvelv/list.txt
check "package installs the icon" test -f /usr/share/icons/hicolor/scalable/apps/tuvelv.svg
check "package installs the IBus engine's component" cmp "$source/packaging/ibus/tuvelv.xml" /usr/share/ibus/component/tuvelv.xml
if command -v ibus >/dev/null 2>&1; then
  check "IBus's cache holds the engine" grep -qa 'org.freedesktop.IBus.Tuvelv' /var/cache/ibus/bus/registry
fi
if dpkg -s qt6-translations-l10n >/dev/null 2>&1; then
  check "Qt's Japanese texts are found beside the programs" test -f /usr/lib/tuvelv/translations/qtbase_ja.qm
fi

# An ordinary user (the one of scripts/as-user.sh) with a fresh home, kept until the
# package is gone so that what it leaves can be compared.
user=tuveluser
id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
user_home=$(mktemp -d /tmp/tuvel-package-home.XXXXXX)
mkdir "$user_home/runtime"
chmod 700 "$user_home" "$user_home/runtime"
chown -R "$user:" "$user_home"
check "an ordinary user uses the installed package" "$source/scripts/with-display.sh" \
  runuser -u "$user" --preserve-environment -- \
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$user_home" USER="$user" LOGNAME="$user" \
  XDG_RUNTIME_DIR="$user_home/runtime" PYTHONDONTWRITEBYTECODE=1 \
  /usr/bin/python3 -W ignore::DeprecationWarning "$source/tests/package/installed_user.py" -v
data=$user_home/.local/share/tuvelv
snapshot() { (cd "$data" && find . -printf '%y %m %u %p\n' | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
check "the user's data folder holds their update" test -f "$data/tuveldbox/自分のリスト.txt.bak"
before=$(snapshot)
dpkg -r tuvelv >/dev/null
check "removing the package removes its files" test ! -e /usr/lib/tuvelv -a ! -e /usr/bin/tuvelv -a ! -e /usr/share/tuvelv \
  -a ! -e /usr/share/ibus/component/tuvelv.xml
check "removing the package leaves the user's lists" test "$before" = "$(snapshot)"
if command -v ibus >/dev/null 2>&1; then
  check "IBus's cache no longer holds the engine" sh -c "! grep -qa org.freedesktop.IBus.Tuvelv /var/cache/ibus/bus/registry"
fi
dpkg -P tuvelv >/dev/null 2>&1  # nothing is left to purge: the package has no configuration files
installed=
check "purging the package leaves the user's lists" test "$before" = "$(snapshot)"
check "purging the package leaves nothing behind" test ! -e /usr/share/applications/tuvelv.desktop -a ! -e /usr/share/doc/tuvelv
exit $failed
