#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when any is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libqt6sql6-sqlite
      libgl-dev libgtest-dev googletest xvfb xauth poppler-utils qt6-translations-l10n)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
