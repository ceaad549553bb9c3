#!/usr/bin/env bash
# Installs, with apt-get, only the packages this project needs that are missing.
# Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  qt6-translations-l10n
  libjpeg62-turbo-dev libgtest-dev libbenchmark-dev
  fonts-wqy-microhei
  imagemagick
  poppler-utils
  desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl libxml2-utils
  clang libclang-rt-14-dev
  dpkg-dev file
  qt6-l10n-tools qt6-tools-dev
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
