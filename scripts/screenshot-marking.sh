#!/usr/bin/env bash
# Screenshot of marking a rectangle on the map: the real editor under Xvfb opens the demo
# "OvData0" through the File menu (map from the demo 'Intrface.brm'), ticks the "View" boxes of a
# few entries, selects a battle, zooms the map with Ctrl+wheel over it (ZOOM_NOTCHES: 3 gives
# zoom 4, 0 leaves it at 1) and drags the battle's new rectangle; the picture is taken with the
# button still held, the read-out under the map buttons showing the rectangle.
# Usage: screenshot-marking.sh [MAPQUILL_BINARY] [OUTPUT_PNG] [ZOOM_NOTCHES]
#   default: docs/screenshots/marking-zoom4.png at zoom 4
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
binary=${1:-build/src/mapquill}
out=${2:-$root/docs/screenshots/marking-zoom4.png}
notches=${3:-3}
mkdir -p "$(dirname "$out")"
[ -x "$binary" ] || { echo "no editor at $binary (build it first)"; exit 1; }

. scripts/xvfb-session.sh
xvfb_start
unset QT_QPA_PLATFORM
start_editor "$binary"

# at X Y: the screen position of content coordinates X, Y of the editing window (below its menu bar).
at() { echo "$(( win_x + $1 )) $(( win_y + menubar + $2 ))"; }

open_overview "$root"
eval "$(xdotool getwindowgeometry --shell "$editor")"
win_x=$X win_y=$Y
sleep 0.5
focus "$editor"

# Tick the "View" boxes of a few rows (both sectors, two ops, a battle): their rectangles show
# in orange. Rows are 22 pixels high below a header of 24.
row_y() { echo $(( 27 + 24 + 22 * $1 + 11 )); }
for row in 0 1 2 13 14; do
  read -r vx vy <<<"$(at 10 "$(row_y "$row")")"
  xdotool mousemove "$vx" "$vy" click 1
  sleep 0.2
done
sleep 0.3

# Select the fourth row (its Name cell), then draw its new rectangle on the map: press, drag in
# steps (the outline follows the mouse), release inside the map.
read -r rx ry <<<"$(at 200 "$(row_y 3)")"
xdotool mousemove "$rx" "$ry" click 1
sleep 0.5
canvas_left=$(( 868 - 314 - 4 ))
# Ctrl+wheel notches over the map (1, 2, 3: zoom 2, 3, 4), the pixel under the mouse staying put.
read -r zx zy <<<"$(at $(( canvas_left + 90 )) $(( 14 + 250 )))"
xdotool mousemove "$zx" "$zy"
sleep 0.2
for ((notch = 0; notch < notches; notch++)); do
  xdotool keydown ctrl click 4 keyup ctrl
  sleep 0.3
done
read -r px py <<<"$(at $(( canvas_left + 60 )) $(( 14 + 200 )))"
xdotool mousemove "$px" "$py" mousedown 1
for step in $(seq 1 12); do
  xdotool mousemove "$(( px + step * 9 ))" "$(( py + step * 7 ))"
  sleep 0.05
done
sleep 0.8
kill -0 "$APP_PID" || fail "the editor exited"

shot=$(mktemp --suffix=.png)
import -window root "$shot"
xdotool mouseup 1
convert "$shot" -crop "${WIDTH}x${HEIGHT}+${win_x}+${win_y}" +repage "$out"
rm -f "$shot"
if grep -qi "sorry" "$APP_LOG"; then fail "a message was shown"; fi
echo "saved $out"
