#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need. Safe to run again.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config clang clang-format
      qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-multimedia-dev
      libqt6svg6 qt6-image-formats-plugins
      libgtest-dev libgmock-dev libbenchmark-dev libcdio-dev libiso9660-dev libfontconfig-dev genisoimage
      xvfb xauth x11-utils xdotool dbus-daemon fonts-dejavu-core fonts-liberation2 python3 time)
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
