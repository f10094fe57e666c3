#!/usr/bin/env bash
# End-to-end: the real editor under Xvfb opens a copy of the demo "OvData0" through the File menu,
# adds a sector (the title gains the modified marker), saves with Ctrl+S to the same file without
# a dialog (the marker goes), adds another sector and undoes it with Ctrl+Z: back at the saved
# state the marker goes again; Ctrl+Z once more brings it back, Ctrl+Shift+Z removes it.
# Usage: e2e-undo-save.sh MAPQUILL_BINARY
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
binary=$1
work=$(mktemp -d)
mkdir -p "$work/examples/maps"
cp "$root/examples/OvData0" "$work/examples/OvData0"
[ -f "$root/examples/maps/Intrface.brm" ] && cp "$root/examples/maps/Intrface.brm" "$work/examples/maps/"
file="$work/examples/OvData0"
original_size=$(stat -c %s "$file")
. "$here/xvfb-session.sh"
cleanup() { xvfb_stop; rm -rf "$work"; }
xvfb_start
trap cleanup EXIT
unset QT_QPA_PLATFORM
start_editor "$binary"

open_overview "$work"
title() { xdotool getwindowname "$editor"; }
expect_title() {
  local want=$1 got
  for _ in $(seq 1 30); do
    got=$(title)
    [ "$got" = "$want" ] && return 0
    sleep 0.1
  done
  fail "title \"$got\", expected \"$want\" ($2)"
}
expect_title "OvData0" "just loaded"

click "$editor" 240 485 # "Add Sector"
expect_title "OvData0*" "after adding a sector"

focus "$editor"
xdotool key --window "$editor" ctrl+s
sleep 0.8
expect_title "OvData0" "after Ctrl+S"
# One sector record more (ID, name field, rectangle, ops count), written to the same file.
saved_size=$(stat -c %s "$file")
[ "$saved_size" -eq $((original_size + 66)) ] || fail "the saved file holds $saved_size bytes, not $((original_size + 66))"
# Nothing but the file itself beside it: no temporary file was left behind.
[ "$(ls -A "$work/examples" | tr '\n' ' ')" = "OvData0 maps " ] || fail "other files beside the saved one: $(ls -A "$work/examples")"

click "$editor" 240 485 # another sector
expect_title "OvData0*" "after the second sector"
focus "$editor"
xdotool key --window "$editor" ctrl+z
expect_title "OvData0" "undone to the saved state"
xdotool key --window "$editor" ctrl+z
expect_title "OvData0*" "undone past the saved state"
xdotool key --window "$editor" ctrl+shift+z
expect_title "OvData0" "redone to the saved state"
[ "$(stat -c %s "$file")" -eq "$saved_size" ] || fail "undo and redo wrote the file"
kill -0 "$APP_PID" || fail "the editor exited"
echo "PASS: marker, Ctrl+S to the same file, undo to the saved state"
