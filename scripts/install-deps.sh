#!/usr/bin/env bash
# Installs everything the project needs on a fresh Debian 12 machine. Safe to run again.
set -euo pipefail

PKGS=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev
  mdbtools mdbtools-dev libglib2.0-dev
  libsqlite3-dev
  unixodbc-dev tdsodbc
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev qt6-translations-l10n
  libqpdf-dev
  fonts-liberation fonts-wine
  poppler-utils time
  clang libclang-rt-14-dev
  xvfb x11-apps x11-utils imagemagick xdotool openbox librsvg2-bin
  dpkg-dev file
)

missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: todo instalado"
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
