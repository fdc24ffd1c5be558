#!/usr/bin/env bash
# Gathers the folder a Windows user unzips and zips it.
# Usage: scripts/package-windows.sh APP_DIR QT_KIT_DIR OUT_DIR
#   APP_DIR     the cross-build's app folder (tuvelv.exe, kox.exe, tuveldbox/, lists/, list.txt)
#   QT_KIT_DIR  the unpacked kit (qt6-mingw/)
#   OUT_DIR     the folder to make, e.g. build-win/tuvelv-win64; OUT_DIR.zip is written beside it
# Only what the two programs load goes in; the list is printed with the sizes.
set -euo pipefail
app=$1 qt=$2 out=$3
mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_lib=/usr/x86_64-w64-mingw32/lib
translation=/usr/share/qt6/translations/qtbase_ja.qm

rm -rf "$out" "$out.zip"
mkdir -p "$out"/{platforms,styles,tls,translations}
cp "$app/tuvelv.exe" "$app/kox.exe" "$out/"
# Network only for kox; both load Core, Gui and Widgets.
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Network; do cp "$qt/bin/$dll.dll" "$out/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$out/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$out/styles/"
# https update addresses go through Windows' own TLS (Schannel).
cp "$qt/plugins/tls/qschannelbackend.dll" "$out/tls/"
cp "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" "$mingw_lib/libwinpthread-1.dll" "$out/"
if [ -f "$translation" ]; then
  cp "$translation" "$out/translations/"
else
  echo "package-windows: $translation missing (Debian package qt6-translations-l10n)" >&2
  exit 1
fi
# Debian's mingw runtime DLLs carry their debugging symbols (libstdc++ 23 MB of 24).
find "$out" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
# The sample data box and registry, byte for byte (CP932, CR LF); no dot files.
cp -r "$app/tuveldbox" "$app/lists" "$app/list.txt" "$out/"
find "$out" -name '.*' -type f -delete

(cd "$(dirname "$out")" && rm -f "$(basename "$out").zip" &&
  zip -qr -X "$(basename "$out").zip" "$(basename "$out")")
echo "Packaged $out:"
(cd "$out" && find . -type f -printf '%s\t%P\n' | sort -k2 | awk -F'\t' '{printf "  %9d  %s\n", $1, $2}')
echo "  folder $(du -sb "$out" | cut -f1) bytes; zip $(stat -c %s "$out.zip") bytes ($out.zip)"
