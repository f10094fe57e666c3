#!/usr/bin/env bash
# Regenerates the README's screenshot: the demo OvData0 in an editing window, its map read from
# the demo 'Intrface.brm', every rectangle made visible and one battle selected.
# Usage: scripts/screenshot-editor.sh [MAPQUILL_BINARY] [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$root/build/src/mapquill}
out=${2:-$root/docs/screenshots/editor.png}
. "$root/scripts/xvfb-session.sh"
XVFB_GEOMETRY=1100x700x24 xvfb_start
unset QT_QPA_PLATFORM
start_editor "$binary"
open_overview "$root"
xdotool windowmove "$editor" 0 0
xdotool windowsize --sync "$editor" 1090 660 2>/dev/null || xdotool windowsize "$editor" 1090 660
focus "$editor"
sleep 0.5
# Content-area coordinates: the View header toggles every row; then one battle row is selected.
eval "$(xdotool getwindowgeometry --shell "$editor")"
click "$editor" 20 $(( 27 + 10 ))
click "$editor" 200 $(( 27 + 22 + 22 * 2 + 11 ))
mkdir -p "$(dirname "$out")"
import -window root -crop "${WIDTH}x${HEIGHT}+0+0" "$out"
echo "screenshot: $out"
