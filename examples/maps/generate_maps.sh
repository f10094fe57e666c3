#!/bin/sh
# Rebuilds the demo map files in this folder from generate_maps.cpp (needs g++ and Qt 6 Gui).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O1 -fPIC -I"$here" "$here/generate_maps.cpp" -o "$tmp/generate_maps" $(pkg-config --cflags --libs Qt6Gui)
"$tmp/generate_maps" "$here"
