#!/usr/bin/env bash
# Installs what Mapquill needs on Debian 12 (as root or via sudo).
#   setup-deps.sh run    what building and running the editor and the tool need
#   setup-deps.sh test   that, plus what the tests, sanitizers, fuzzing and benchmarks need (default)
# Packages already present are left alone, so a second run costs a second.
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  nlohmann-json3-dev libpng-dev libtiff-dev libgif-dev fonts-dejavu-core libfreetype-dev libfontconfig-dev
  libturbojpeg0-dev
)
test_packages=(
  ccache git
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool x11-apps imagemagick netpbm macutils hfsutils unar hyperfine python3
  desktop-file-utils appstream shared-mime-info
  g++-mingw-w64-x86-64
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: setup-deps.sh [run|test]" >&2; exit 2 ;;
esac
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
