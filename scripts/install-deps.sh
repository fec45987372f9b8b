#!/usr/bin/env bash
# Installs the Debian packages the programmer needs to build, run and test.
# Only what is missing is installed, so repeated runs are quick.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  qt6-translations-l10n
  libftdi1-dev libudev-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  poppler-utils xdg-utils
  librsvg2-bin fonts-dejavu-core
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
