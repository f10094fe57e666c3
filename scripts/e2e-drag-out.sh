#!/usr/bin/env bash
# End-to-end: the map dragged out of the real editor reaches another process. Under Xvfb the
# editor opens the demo "OvData0" with its map from the demo 'Intrface.brm'; the mouse then drags
# the map onto our own drop target (a separate program), which records every format it received.
# The PNG must hold exactly the map's pixels, and no offered MIME type may arrive empty.
# Usage: e2e-drag-out.sh MAPQUILL_BINARY DROP_TARGET_BINARY TOOL_BINARY
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
binary=$1 target=$2 tool=$3
[ -f "$root/examples/maps/Intrface.brm" ] || { echo "SKIP: no demo maps"; exit 77; }
work=$(mktemp -d)
. scripts/xvfb-session.sh
xvfb_start
unset QT_QPA_PLATFORM
start_editor "$binary"
open_overview "$root"
eval "$(xdotool getwindowgeometry --shell "$editor")"
win_x=$X win_y=$Y
# "Unselect Entry": with no current row a drag on the map moves the picture instead of marking.
click "$editor" 600 539

mkdir -p "$work/received"
"$target" "$work/received" >"$work/target.log" 2>&1 &
TARGET_PID=$!
drop=$(wait_window "Mapquill drop target" 20) || fail "the drop target did not appear"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$drop")"
drop_x=$(( X + 150 )) drop_y=$(( Y + 150 ))

# Press on the map, then move in small steps (every step is an X motion event the drag follows)
# across to the drop target and release there.
start_x=$(( win_x + 600 )) start_y=$(( win_y + menubar + 100 ))
xdotool mousemove "$start_x" "$start_y" mousedown 1
sleep 0.3
steps=30
for step in $(seq 1 $steps); do
  xdotool mousemove $(( start_x + (drop_x - start_x) * step / steps )) $(( start_y + (drop_y - start_y) * step / steps ))
  sleep 0.05
done
sleep 0.5
xdotool mouseup 1

for _ in $(seq 1 100); do [ -f "$work/received/done" ] && break; sleep 0.1; done
[ -f "$work/received/done" ] || { cat "$work/target.log"; fail "nothing was dropped on the target"; }
grep -q '^ok' "$work/received/done" || fail "the drop target could not record the drop"
echo "received:"; cat "$work/received/formats.txt"
grep -q ' image/png$' "$work/received/formats.txt" || fail "no PNG was offered"
# Bare X11 targets such as BITMAP name server-side pixmaps, which Qt neither offers as bytes nor
# needs to: only MIME types count.
if awk '$1 == 0 && $2 ~ /\// { bad = 1; print "empty: " $2 } END { exit !bad }' "$work/received/formats.txt"; then
  fail "a format arrived empty"
fi

"$tool" map "$root/examples/maps/Intrface.brm" 1013 "$work/expected.png" --from intrface >/dev/null
differing=$(compare -metric AE "$work/received/image_png" "$work/expected.png" null: 2>&1) || true
[ "$differing" = "0" ] || fail "the dropped PNG differs from the map in $differing pixels"
kill -0 "$APP_PID" || fail "the editor exited"
kill "$TARGET_PID" 2>/dev/null || true
rm -rf "$work"
echo "PASS: the map reached another process as a PNG with the map's pixels"
