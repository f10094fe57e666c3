#!/usr/bin/env bash
# End-to-end: files given to a second launch open in the Mapquill that already runs. Under Xvfb a
# first editor starts without files; "mapquill OvData1" then ends at once and the first editor
# shows the window "OvData1" (asking for its map's source as usual). When the running editor
# does not answer (stopped with SIGSTOP), a new launch opens its file itself.
# Usage: e2e-single-instance.sh MAPQUILL_BINARY
set -euo pipefail
binary=$(realpath "$1")
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/xvfb-session.sh
xvfb_start
unset QT_QPA_PLATFORM
start_editor "$binary"
wait_window "About Mapquill" 20 >/dev/null || fail "the About window did not appear"
files=$E2E_HOME/files
mkdir -p "$files"
cp "$root/examples/OvData1" "$files/OvData1"
cp "$root/examples/OvData2" "$files/OvData2"

# pid_of NAME: the process that owns the visible window NAME.
pid_of() { xdotool getwindowpid "$(wait_window "$1" 20)" 2>/dev/null; }
launch() { (cd "$files" && exec env XDG_CONFIG_HOME="$E2E_HOME/config" XDG_RUNTIME_DIR="$E2E_HOME/runtime" "$binary" "$@"); }

# The second launch names the file relative to its own folder and ends.
start=$(date +%s)
launch OvData1 >"$E2E_HOME/second.log" 2>&1 || { cat "$E2E_HOME/second.log"; fail "the second launch failed"; }
took=$(( $(date +%s) - start ))
[ "$took" -le 20 ] || fail "the second launch took ${took} s"
owner=$(pid_of "^OvData1$") || true
[ "$owner" = "$APP_PID" ] || { cat "$E2E_HOME/second.log"; fail "OvData1 did not open in the running editor (owner: ${owner:-none})"; }
[ "$(pid_of "^Select file UI$")" = "$APP_PID" ] || fail "the running editor did not ask for the map's source"
dialog=$(wait_window "^Select file UI$" 5)
focus "$dialog"
xdotool key Escape
sleep 0.5

# A running editor that does not answer: the new launch keeps its file and opens it itself.
kill -STOP "$APP_PID"
(cd "$files" && exec env XDG_CONFIG_HOME="$E2E_HOME/config" XDG_RUNTIME_DIR="$E2E_HOME/runtime" "$binary" OvData2) \
  >"$E2E_HOME/third.log" 2>&1 &
THIRD_PID=$!
opened=$(pid_of "^OvData2$") || true
kill -CONT "$APP_PID"
[ -n "$opened" ] || { cat "$E2E_HOME/third.log"; kill "$THIRD_PID" 2>/dev/null; fail "OvData2 did not open"; }
[ "$opened" = "$THIRD_PID" ] || { kill "$THIRD_PID" 2>/dev/null; fail "OvData2 opened in process $opened, not in the new launch $THIRD_PID"; }
kill "$THIRD_PID" 2>/dev/null || true
kill -0 "$APP_PID" || fail "the editor exited"
if grep -qi "sorry" "$APP_LOG"; then fail "a message was shown"; fi
echo "PASS: files of a second launch open in the running editor; a hung one does not swallow them"
