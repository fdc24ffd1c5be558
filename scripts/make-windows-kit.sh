#!/usr/bin/env bash
# Builds the Qt kit that scripts/build-windows.sh needs, for machines that do not have
# one: qtbase 6.4.2 from Debian 12's own qt6-base source package, cross-built for
# x86-64 Windows with mingw-w64 (POSIX threads), packed as qt6.4.2-mingw64.tar.xz.
# About 40 minutes on two cores; not part of the tests. Runs as root (apt-get).
# Usage: scripts/make-windows-kit.sh [OUTPUT.tar.xz]   (default build-kit/qt6.4.2-mingw64.tar.xz)
# Then: TUVEL_WINDOWS_KIT=build-kit/qt6.4.2-mingw64.tar.xz scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build-kit
out=$(realpath -m "${1:-$work/qt6.4.2-mingw64.tar.xz}")
version=6.4.2

export DEBIAN_FRONTEND=noninteractive
# moc, rcc and uic run on this machine: its Qt must be the same version.
apt-get install -y -qq --no-install-recommends dpkg-dev cmake ninja-build patch xz-utils \
  g++-mingw-w64-x86-64 qt6-base-dev qt6-base-dev-tools >/dev/null
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
case "$host_version" in
  "$version"+*) ;;
  *) echo "make-windows-kit: the host's Qt is $host_version, the kit needs $version" >&2; exit 1 ;;
esac

mkdir -p "$work/src"
cd "$work/src"
if ! ls qt6-base_${version}+dfsg.orig.tar.xz >/dev/null 2>&1; then
  # Source packages need a deb-src entry; Debian 12 images usually have none.
  if ! apt-get source --download-only --print-uris qt6-base >/dev/null 2>&1; then
    echo "deb-src http://deb.debian.org/debian bookworm main" >/etc/apt/sources.list.d/tuvel-deb-src.list
    apt-get update -qq
  fi
  apt-get source --download-only qt6-base
fi
rm -rf qtbase-everywhere-src-$version
tar -xJf qt6-base_${version}+dfsg.orig.tar.xz
# Debian's source has no src/3rdparty/wintab: the Windows platform plugins go without
# tablet support, and their software-OpenGL check only with OpenGL.
(cd qtbase-everywhere-src-$version && patch -p1 <"$root/scripts/windows-kit/qtbase-6.4.2-windows-plugin-no-wintab.patch")
cp "$root/scripts/windows-kit/toolchain-mingw.cmake" "$work/src/"

prefix=$work/qt6-mingw
rm -rf build-mingw "$prefix"
cmake -S qtbase-everywhere-src-$version -B build-mingw -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/src/toolchain-mingw.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_opengl=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=ON \
  -DFEATURE_vulkan=OFF -DFEATURE_system_zlib=OFF -DFEATURE_zstd=OFF -DINPUT_openssl=no
cmake --build build-mingw --parallel "${TUVEL_JOBS:-2}"
cmake --install build-mingw

# The kit works from any folder: the toolchain file sits in its root and Qt's own
# toolchain file finds it relative to itself.
rm -rf "$prefix/doc"
cp "$work/src/toolchain-mingw.cmake" "$prefix/"
sed -i 's|^set(__qt_initially_configured_toolchain_file .*|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../toolchain-mingw.cmake")|' \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
mkdir -p "$(dirname "$out")"
tar -cJf "$out" -C "$work" qt6-mingw
echo "Kit: $out ($(stat -c %s "$out") bytes)"
