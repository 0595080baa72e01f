#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, and any
# named as arguments (deps.sh gcovr), but only those that are missing, so a
# second run costs nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev nlohmann-json3-dev libcli11-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  python3 python3-pyftpdlib curl
  librsvg2-bin desktop-file-utils appstream man-db groff-base dpkg-dev
)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
