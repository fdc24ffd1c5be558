#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the benchmarks need.
# Runs as root; does nothing when everything is already there.
# Usage: scripts/setup-deps.sh [build|tests]   (default: both; "build": what building
# build/ needs, "tests": the rest, so that it can come in while build/ is built)
set -euo pipefail
part=${1:-all}
build_packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-translations-l10n  # qtbase_ja.qm, shipped beside the programs for Japanese dialog buttons
  libx11-dev libxtst-dev libxres-dev  # XRes: the process behind the window the keys go to
  libwayland-dev libxkbcommon-dev  # Wayland typer: wayland-client, wayland-scanner; xkbcommon reads keymaps in its test
)
test_packages=(
  sway xwayland qt6-wayland wtype  # tests/wayland: headless sway, the viewer on XWayland, a native sink; wtype is the benchmark floor
  xvfb openbox xdotool x11-utils xauth
  fonts-noto-cjk
  nginx-light curl
  xdg-utils file
  g++-mingw-w64-x86-64 wine wine64  # tests/win32: cross-build and run the plain Win32 files
  ninja-build zip unzip qt6-translations-l10n  # scripts/build-windows.sh: the Windows zip
  clang libclang-rt-14-dev llvm     # the sanitizer build and the fuzzers (scripts/test-asan.sh)
  clang-format                      # scripts/check-format.sh: the code keeps the layout of .clang-format
  libicu-dev                        # fuzz_cp932 compares the codec with ICU
  locales at-spi2-core python3-pyatspi dbus-daemon xclip imagemagick  # tests/e2e: the programs as a user runs them
  fcitx5 fcitx5-mozc fcitx5-frontend-qt6 fcitx5-frontend-gtk3  # tests/e2e input method: fcitx5 with Mozc, Qt and GTK clients
  ibus ibus-mozc ibus-gtk3 gir1.2-ibus-1.0 dconf-gsettings-backend x11-xkb-utils  # ...and IBus; its engine list in dconf; setxkbmap jp
  python3-gi gir1.2-gtk-3.0 libatk-adaptor  # the GTK 3 typing sink (tests/e2e/gtksink.py), read through AT-SPI
  libreoffice-writer libreoffice-gtk3 python3-uno  # tests/e2e typing into applications: Writer with its GTK 3 look, read through UNO
  openjdk-17-jdk chromium                          # ...a Swing text area (java SwingSink.java) and a page in Chromium
  gnome-shell  # tests/gnome: a headless GNOME Shell session on Wayland (scripts/with-gnome.sh)
  lintian desktop-file-utils appstream  # scripts/test-package.sh: the .deb, its menu entry and AppStream file pass their checkers
)
case $part in
  build) packages=("${build_packages[@]}") ;;
  tests) packages=("${test_packages[@]}") ;;
  all) packages=("${build_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [build|tests]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Once an hour is enough (the build part and the test part ask one after the other).
  if [ -z "$(find /var/lib/apt/lists -maxdepth 1 -name '*_Packages*' -mmin -60 2>/dev/null | head -1)" ]; then
    apt-get update -qq
  fi
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The end-to-end tests run the programs under a Japanese locale.
[ "$part" = build ] && exit 0
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
