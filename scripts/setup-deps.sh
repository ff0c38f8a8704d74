#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; apt's lists are refreshed first.
# clang with its runtime libraries (libclang-rt-dev holds libFuzzer) builds
# the fuzzing harnesses.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libpng-dev libx11-dev libxrandr-dev libxinerama-dev libglib2.0-dev
  fonts-ipafont-gothic fonts-ipafont-mincho shared-mime-info adwaita-icon-theme
  xvfb xdotool imagemagick x11-utils x11-xserver-utils openbox trayer zenity dbus python3-dbus python3-gi gir1.2-gtk-3.0
  g++-mingw-w64-x86-64 mingw-w64-tools googletest wine wine64
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
