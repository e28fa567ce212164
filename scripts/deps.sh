#!/usr/bin/env bash
# Installs the Debian 12 packages KROX Gastrid needs to build, run and test.
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-image-formats-plugins qt6-translations-l10n libgl-dev
  libsqlcipher-dev sqlcipher libssl-dev qtkeychain-qt6-dev libgumbo-dev libquazip1-qt6-dev zlib1g-dev
  python3 python3-aiosmtpd postfix poppler-utils
  xvfb xauth fonts-dejavu-core
  lintian desktop-file-utils appstream openbox wmctrl xdotool
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
