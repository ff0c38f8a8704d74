#!/usr/bin/env bash
# Installs the Debian packages that Sorimo needs:
#   setup-deps.sh run    what building and running the program needs
#   setup-deps.sh test   all of that and what the tests need (the default)
# Only missing packages are installed; apt's lists are refreshed first.
set -euo pipefail

set_name=${1:-test}

# Building: compiler, build tools, the libraries' headers (the Wayland
# development files for the Wayland backend), msgfmt for the message
# catalogs. Running: Japanese fonts for the windows' texts, the MIME
# database and an icon theme for the slots' icons, zenity for the file dialog.
run_packages=(
  cmake ninja-build g++ pkg-config gettext
  libfreetype-dev libfontconfig-dev libpng-dev libx11-dev libxrandr-dev libxinerama-dev libxres-dev libglib2.0-dev
  libwayland-dev wayland-protocols libxkbcommon-dev
  fonts-ipafont-gothic fonts-ipafont-mincho shared-mime-info adwaita-icon-theme zenity
)
# Testing: GoogleTest and Google Benchmark, a private X desktop with a tray,
# the session bus, the Windows cross build and Wine, clang with its runtime
# libraries (libclang-rt-dev holds libFuzzer) for the fuzzing harnesses, the
# real panels (lxqt-panel, xfce4-panel, tint2) and a compositor (sway with
# Xwayland and Waybar, grim for its pictures) that the desktop tests run the
# program on, and the checkers of the Debian package and its desktop files.
test_packages=(
  python3 libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils x11-xserver-utils openbox trayer dbus python3-dbus python3-gi gir1.2-gtk-3.0
  g++-mingw-w64-x86-64 mingw-w64-tools googletest wine wine64 locales
  clang libclang-rt-dev
  lxqt-panel xfce4-panel tint2 sway xwayland grim waybar
  lintian appstream desktop-file-utils
)

# The run set comes without the packages' recommendations (zenity's alone
# would bring a web engine and speech synthesis: some 130 MiB more).
case "$set_name" in
  run) packages=("${run_packages[@]}"); apt_options=(--no-install-recommends) ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}"); apt_options=() ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${apt_options[@]}" "${missing[@]}"
fi

[ "$set_name" = test ] || exit 0
# A Windows test reads a settings file in the Japanese ANSI code page (932),
# which Wine takes from the locale, and the tests of Japanese messages use
# it: ja_JP.UTF-8 must exist.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "Generating the locale ja_JP.UTF-8"
  "${sudo_cmd[@]}" localedef -i ja_JP -c -f UTF-8 -A /usr/share/locale/locale.alias ja_JP.UTF-8
fi
