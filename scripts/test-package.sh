#!/usr/bin/env bash
# Checks what a user gets: `cmake --install` lays out the folder a user unpacks, and
# `cpack -G DEB` makes a Debian package that installs that folder into /opt/tuvelv with
# a menu entry and an icon. The package is installed into this machine (as root) with
# dpkg, checked, and removed again. Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/../build"
failed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok   $1"; else echo "FAIL $1"; failed=1; fi
}

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cmake --install . --prefix "$folder" >/dev/null
for f in tuvelv kox list.txt tuveldbox/greetings.txt lists/keigo.txt; do
  check "installed folder has $f" test -e "$folder/$f"
done
check "installed programs are executable" test -x "$folder/tuvelv" -a -x "$folder/kox"
check "installed data box is the shipped one" diff -r ../data/tuveldbox "$folder/tuveldbox"
if [ -f app/translations/qtbase_ja.qm ]; then
  check "installed folder has translations/" test -f "$folder/translations/qtbase_ja.qm"
fi

rm -f tuvelv_*.deb
cpack -G DEB >/dev/null
deb=$(ls tuvelv_*.deb)
if dpkg -s tuvelv >/dev/null 2>&1; then
  echo "test-package: a tuvelv package is installed already; not touching it" >&2
  exit 1
fi
dpkg -i "$deb" >/dev/null
trap 'dpkg -r tuvelv >/dev/null || true; rm -rf "$folder"' EXIT
check "package installs the programs" test -x /opt/tuvelv/tuvelv -a -x /opt/tuvelv/kox
check "package installs the data box" diff -r ../data/tuveldbox /opt/tuvelv/tuveldbox
check "package installs list.txt" cmp ../data/list.txt /opt/tuvelv/list.txt
desktop=/usr/share/applications/tuvelv.desktop
check "package installs the menu entry" test -f $desktop
check "menu entry starts the viewer in its folder" grep -qx 'Exec=/opt/tuvelv/tuvelv' $desktop
check "menu entry names its icon" grep -qx 'Icon=tuvelv' $desktop
check "package installs the icon" test -f /usr/share/icons/hicolor/scalable/apps/tuvelv.svg
if command -v desktop-file-validate >/dev/null; then
  check "menu entry is valid" desktop-file-validate $desktop
fi
dpkg -r tuvelv >/dev/null
trap 'rm -rf "$folder"' EXIT
check "removing the package leaves nothing behind" test ! -e /opt/tuvelv -a ! -e $desktop
exit $failed
