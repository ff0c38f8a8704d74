#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; apt's lists are refreshed first.
# clang with its runtime libraries (libclang-rt-dev holds libFuzzer) builds
# the fuzzing harnesses; the Wayland development files build the Wayland
# backend. Real panels (lxqt-panel, xfce4-panel, tint2) and a
# compositor (sway with Xwayland and Waybar, grim for its pictures) are what the
# desktop tests run the program on.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libfreetype-dev libfontconfig-dev libpng-dev libx11-dev libxrandr-dev libxinerama-dev libglib2.0-dev
  fonts-ipafont-gothic fonts-ipafont-mincho shared-mime-info adwaita-icon-theme
  libwayland-dev wayland-protocols libxkbcommon-dev
  xvfb xdotool imagemagick x11-utils x11-xserver-utils openbox trayer zenity dbus python3-dbus python3-gi gir1.2-gtk-3.0
  g++-mingw-w64-x86-64 mingw-w64-tools googletest wine wine64 locales
  clang libclang-rt-dev
  libxres-dev lxqt-panel xfce4-panel tint2 sway xwayland grim waybar
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# A Windows test reads a settings file in the Japanese ANSI code page (932),
# which Wine takes from the locale: ja_JP.UTF-8 must exist.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "Generating the locale ja_JP.UTF-8"
  "${sudo_cmd[@]}" localedef -i ja_JP -c -f UTF-8 -A /usr/share/locale/locale.alias ja_JP.UTF-8
fi
