#!/usr/bin/env bash
# Installs every Debian package Mosaiqua needs to build, test and run.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  libpng-dev libspng-dev libgif-dev libzip-dev zlib1g-dev
  cc1541 cbmconvert
  acme 64tass cc65
  clang libclang-rt-14-dev clang-format
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wine fonts-liberation
  lintian desktop-file-utils appstream help2man dpkg-dev file fakeroot
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
# No recommends: a GTK platform theme would swap Qt's dialogs for native ones tests cannot drive.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
