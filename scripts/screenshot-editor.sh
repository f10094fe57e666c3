#!/usr/bin/env bash
# Regenerates the README's screenshot: the demo OvData0 in an editing window, its map read from
# the demo 'Intrface.brm', every rectangle made visible and one battle selected.
# Usage: scripts/screenshot-editor.sh [MAPQUILL_BINARY] [OUT.png]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$root/build/src/mapquill}
out=${2:-$root/docs/screenshots/editor.png}
. "$root/scripts/xvfb-session.sh"
XVFB_GEOMETRY=1100x700x24 xvfb_start
unset QT_QPA_PLATFORM
"$binary" >/tmp/mapquill-shot.log 2>&1 &
APP_PID=$!
about=$(wait_window "About Mapquill" 20)

focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
# Type a path into the (Qt, non-native) file dialog that has just opened, and confirm it.
answer_dialog() {
  local dialog
  dialog=$(wait_window "$1" 10)
  focus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 2 "$2"
  xdotool key Return
  sleep 0.5
}

# File > "Use PC-file 'Intrface.brm'" (the 13th item; keyboard navigation skips separators),
# then File > "Open OvData0..." (the 2nd).
focus "$about"
xdotool key alt+f; sleep 0.3
for _ in $(seq 1 12); do xdotool key Down; done
xdotool key Return; sleep 0.3
xdotool key alt+f; sleep 0.3; xdotool key Down Return
answer_dialog "Select a file OvData0" "$root/examples/OvData0"
if [ -f "$root/examples/maps/Intrface.brm" ]; then
  answer_dialog "Intrface" "$root/examples/maps/Intrface.brm"
else
  xdotool key Escape
fi
editor=$(wait_window "^OvData0$" 10)
xdotool windowmove "$editor" 0 0
# The window opens at its designed content size, 868 x 560, plus the menu bar.
eval "$(xdotool getwindowgeometry --shell "$editor")"
menu=$(( HEIGHT - 560 ))
xdotool windowsize --sync "$editor" 1090 660 2>/dev/null || xdotool windowsize "$editor" 1090 660
focus "$editor"
sleep 0.5
# Content-area coordinates: the View header toggles every row; then one battle row is selected.
eval "$(xdotool getwindowgeometry --shell "$editor")"
xdotool mousemove --window "$editor" 20 $(( menu + 27 + 10 )) click 1
sleep 0.3
xdotool mousemove --window "$editor" 200 $(( menu + 27 + 22 + 22 * 2 + 11 )) click 1
sleep 0.5
mkdir -p "$(dirname "$out")"
import -window root -crop "${WIDTH}x${HEIGHT}+0+0" "$out"
echo "screenshot: $out"
