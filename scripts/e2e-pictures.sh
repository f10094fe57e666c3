#!/usr/bin/env bash
# End-to-end: the real editor under Xvfb opens the demo "OvData0", takes its map from the demo
# 'Intrface.brm', then, with the setting switched to 'UI', loads the file again and takes the map
# from the demo 'UI' (an empty file with its fork in the "._UI" sidecar). Screenshots of both go
# to docs/screenshots/ unless another folder is given.
# Usage: e2e-pictures.sh [MAPQUILL_BINARY] [SCREENSHOT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
binary=${1:-build/src/mapquill}
shots=${2:-$root/docs/screenshots}
mkdir -p "$shots"
. scripts/xvfb-session.sh
xvfb_start
unset QT_QPA_PLATFORM
log=$(mktemp)
"$binary" >"$log" 2>&1 &
APP_PID=$!

fail() { echo "FAIL: $*"; cat "$log"; exit 1; }

focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; sleep 0.3; }

# menu WINDOW DOWNS: opens the File menu of WINDOW and chooses the item DOWNS places below the first.
menu() {
  focus "$1"
  xdotool key --window "$1" alt+f
  sleep 0.4
  for _ in $(seq 1 "$2"); do xdotool key Down; done
  xdotool key Return
  sleep 0.4
}

# answer TITLE PATH: types PATH into the file dialog titled TITLE and accepts it.
answer() {
  local dialog
  dialog=$(wait_window "$1" 20) || fail "the dialog \"$1\" did not appear"
  focus "$dialog"
  xdotool key --window "$dialog" ctrl+a
  xdotool type --delay 5 "$2"
  xdotool key Return
  sleep 0.8
}

# click WINDOW X Y: a click at content coordinates of WINDOW (below its menu bar).
click() {
  focus "$1"
  xdotool mousemove --window "$1" "$2" "$(( $3 + menubar ))" click 1
  sleep 0.5
}

about=$(wait_window "About Mapquill" 20) || fail "the About window did not appear"
sleep 0.5

# File menu: 0 New, 1..10 Open OvData0..9, 11 Close, 12 Use 'Intrface.brm', 13 Use 'UI', 14 Quit.
menu "$about" 12
menu "$about" 1
answer "Select a file OvData0" "$root/examples/OvData0"
answer "Select file Intrface.brm" "$root/examples/maps/Intrface.brm"
editor=$(wait_window "^OvData0$" 20) || fail "the editing window did not appear"
menubar=$(( $(xdotool getwindowgeometry "$editor" | awk '/Geometry/ { split($2, s, "x"); print s[2] }') - 560 ))
[ "$menubar" -ge 0 ] || menubar=0
sleep 1
kill -0 "$APP_PID" || fail "the editor exited"
import -window "$editor" "$shots/map-from-intrface.png"

menu "$editor" 13
# "Re-Load Datas..." loads the file again and its map by the new setting.
click "$editor" 95 485
answer "Select a file OvData0" "$root/examples/OvData0"
answer "Select file UI" "$root/examples/maps/mac/UI"
# The View header shows every entry's rectangle.
click "$editor" 20 37
sleep 1
kill -0 "$APP_PID" || fail "the editor exited"
import -window "$editor" "$shots/map-from-ui.png"

# The reload dialog opens beside its button; its Cancel loads nothing.
click "$editor" 95 514
reload=$(wait_window "Re-Load Graphics from File" 20) || fail "the reload dialog did not appear"
sleep 0.5
import -window root -crop 880x700+0+0 "$shots/reload-dialog.png"
focus "$reload"
xdotool mousemove --window "$reload" 91 123 click 1
sleep 0.5
xdotool search --onlyvisible --name "Re-Load Graphics from File" >/dev/null 2>&1 && fail "Cancel did not close the reload dialog"
kill -0 "$APP_PID" || fail "the editor exited"
if grep -qi "sorry" "$log"; then fail "a message was shown"; fi
echo "PASS: map from Intrface.brm and from UI ($shots)"
