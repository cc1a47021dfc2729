#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Runs apt-get only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev libqt6opengl6-dev
  libuv1-dev libcanberra-dev sound-theme-freedesktop
  dbus-daemon dbus-bin
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-tidy libclang-rt-dev
  xvfb xauth trayer openbox imagemagick x11-utils xdotool
  fonts-noto-cjk
  busybox-static
  libsecret-1-dev gnome-keyring dbus-daemon
  g++-mingw-w64-x86-64-posix googletest wine wine64 librsvg2-bin icoutils nsis
  # The 32-bit tarvik.exe. Its tests need Wine's 32-bit side (wine32:i386),
  # which is not installed here: on a kernel without 32-bit support it
  # cannot start and takes the 64-bit Wine down with it.
  g++-mingw-w64-i686-posix
  debhelper lintian appstream desktop-file-utils man-db groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
