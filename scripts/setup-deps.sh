#!/usr/bin/env bash
# Installs every Debian package Quavero needs to build, test and run.
# Idempotent: packages already present are left alone.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-svg-dev libqt6svg6
  qt6-l10n-tools libgl1-mesa-dev
  libsqlite3-dev zlib1g-dev libtag1-dev
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev
  libmp3lame-dev libcdio-dev libcdio-paranoia-dev libcli11-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav dbus-daemon qt6-translations-l10n
  xvfb xauth
  librsvg2-bin help2man desktop-file-utils appstream bash-completion
  dpkg-dev file lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
