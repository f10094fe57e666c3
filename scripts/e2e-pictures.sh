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
start_editor "$binary"

[ -f "$root/examples/maps/Intrface.brm" ] || fail "no demo maps: run examples/maps/generate_maps.sh"
open_overview "$root"
sleep 1
kill -0 "$APP_PID" || fail "the editor exited"
import -window "$editor" "$shots/map-from-intrface.png"

menu "$editor" 15
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
if grep -qi "sorry" "$APP_LOG"; then fail "a message was shown"; fi
echo "PASS: map from Intrface.brm and from UI ($shots)"
