#!/bin/sh
# Rebuilds the program icon PNGs in this folder from make_icons.cpp (needs g++ and Qt 6 Gui).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O1 -fPIC "$here/make_icons.cpp" -o "$tmp/make_icons" $(pkg-config --cflags --libs Qt6Gui)
"$tmp/make_icons" "$here"
