#!/usr/bin/env bash
# Installs what building, running and testing Mapquill needs on Debian 12 (as root or via sudo).
# Packages already present are left alone, so a second run costs a second.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache git
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-apps imagemagick netpbm macutils hfsutils unar hyperfine
  fonts-dejavu-core python3
  libpng-dev libtiff-dev libgif-dev libturbojpeg0-dev
  g++-mingw-w64-x86-64
)
# Wine runs the Windows cross build's tests; at about 670 MB installed it is asked for explicitly.
if [ "${MQ_WINE:-0}" = 1 ]; then
  packages+=(wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
