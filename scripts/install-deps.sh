#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# only those that are missing, so that a second run costs nothing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config ccache
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev
  libopenblas-dev libsuitesparse-dev
  qt6-base-dev qt6-translations-l10n libgl-dev
  fonts-ipaexfont-gothic
  xvfb xauth
  poppler-utils qpdf python3 zlib1g-dev
  file dpkg-dev desktop-file-utils
  libxml2-utils shared-mime-info xdg-utils libfile-mimeinfo-perl
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
