#!/usr/bin/env bash
# Installs the Debian packages this project needs that the machine lacks.
# Safe to run again: it installs nothing when everything is present.
set -euo pipefail

packages=(
  build-essential g++ cmake make pkg-config python3 clang-format
  clang libclang-rt-14-dev llvm
  libpng-dev zlib1g-dev libjpeg62-turbo-dev
  libx11-dev libxrandr-dev libxtst-dev libxext-dev libxfixes-dev libxss-dev libxkbcommon-dev
  libgl-dev libgl1-mesa-dri libglx-mesa0 mesa-utils
  xvfb xauth x11-utils
  libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
  doxygen
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
