#!/usr/bin/env bash
# Installs every package the build, the tests and the tools need (Debian 12).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libsdl1.2-dev libsndfile1-dev libx11-dev
  libgtest-dev googletest libbenchmark-dev
  cc65 libgme-dev
  xvfb xdotool x11-utils
  man-db groff-base desktop-file-utils appstream shared-mime-info dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
