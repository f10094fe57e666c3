#!/usr/bin/env bash
# Sourced by the end-to-end scripts: starts a private Xvfb display and stops it on exit.
# There is no window manager on it, so scripts focus windows themselves before typing.
xvfb_start() {
  # -noreset: an X server resets when its last client leaves, and while it does it refuses new
  # ones; the check below is such a client, and the editor started right after it found no
  # display now and then. The number is drawn at random from 100..999, so that sessions started
  # at the same time (a screenshot script beside the tests) rarely try the same one, and the
  # server is ours only when its lock file names our process.
  local display lock
  for _ in $(seq 1 20); do
    display=$((100 + RANDOM % 900))
    lock="/tmp/.X${display}-lock"
    { [ -e "$lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; } && continue
    Xvfb ":$display" -screen 0 "${XVFB_GEOMETRY:-1280x800x24}" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 50); do
      if [ "$(tr -d ' \n' 2>/dev/null <"$lock")" = "$XVFB_PID" ] &&
        DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1; then
        export DISPLAY=":$display"
        trap xvfb_stop EXIT
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

xvfb_stop() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  [ -n "${E2E_HOME_OWNED:-}" ] && rm -rf "$E2E_HOME"
  return 0
}

# wait_window NAME [SECONDS]: prints the X id of the first visible window whose name matches.
wait_window() {
  local name=$1 limit=${2:-20} id
  for _ in $(seq 1 $((limit * 10))); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# --- driving the editor (no window manager: windows are focused by hand before keys are sent) ---

# start_editor BINARY: starts the editor in the background, its output in $APP_LOG.
# The editor's remembered files and its single-instance socket go to a private folder, so a test
# neither sees nor changes the user's and never hands its files to another running editor.
start_editor() {
  APP_LOG=$(mktemp)
  if [ -z "${E2E_HOME:-}" ]; then E2E_HOME=$(mktemp -d); E2E_HOME_OWNED=1; fi
  mkdir -p "$E2E_HOME/config" "$E2E_HOME/runtime"
  chmod 700 "$E2E_HOME/runtime"
  XDG_CONFIG_HOME="$E2E_HOME/config" XDG_RUNTIME_DIR="$E2E_HOME/runtime" "$1" "${@:2}" >"$APP_LOG" 2>&1 &
  APP_PID=$!
}

fail() { echo "FAIL: $*"; [ -n "${APP_LOG:-}" ] && cat "$APP_LOG"; exit 1; }

focus() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; sleep 0.3; }

# menu WINDOW DOWNS: opens the File menu of WINDOW and chooses the item DOWNS places below the first
# (keyboard navigation skips separators): 0 New, 1..10 Open OvData0..9, 11 Open Recent, 12 Save,
# 13 Close, 14 Use 'Intrface.brm', 15 Use 'UI', 16 Quit.
menu() {
  focus "$1"
  xdotool key --window "$1" alt+f
  sleep 0.4
  for _ in $(seq 1 "$2"); do xdotool key Down; done
  xdotool key Return
  sleep 0.4
}

# answer TITLE PATH: types PATH into the (Qt, non-native) file dialog titled TITLE and accepts it;
# an empty PATH cancels the dialog.
answer() {
  local dialog
  dialog=$(wait_window "$1" 20) || fail "the dialog \"$1\" did not appear"
  focus "$dialog"
  if [ -z "$2" ]; then
    xdotool key --window "$dialog" Escape
  else
    xdotool key --window "$dialog" ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key Return
  fi
  sleep 0.8
}

# open_overview ROOT: File > Use 'Intrface.brm', File > Open OvData0... with the demo file and its map;
# sets $editor to the editing window and $menubar to the height of its menu bar.
open_overview() {
  local about
  about=$(wait_window "About Mapquill" 20) || fail "the About window did not appear"
  sleep 0.5
  menu "$about" 14
  menu "$about" 1
  answer "Select a file OvData0" "$1/examples/OvData0"
  if [ -f "$1/examples/maps/Intrface.brm" ]; then
    answer "Select file Intrface.brm" "$1/examples/maps/Intrface.brm"
  else
    answer "Select file Intrface.brm" ""
  fi
  editor=$(wait_window "^OvData0$" 20) || fail "the editing window did not appear"
  # The window opens at its designed content size, 868 x 560, plus the menu bar.
  local HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$editor" | grep HEIGHT)"
  menubar=$(( HEIGHT - 560 ))
  [ "$menubar" -ge 0 ] || menubar=0
}

# click WINDOW X Y: a click at content coordinates of WINDOW (below its menu bar).
click() {
  focus "$1"
  xdotool mousemove --window "$1" "$2" "$(( $3 + menubar ))" click 1
  sleep 0.5
}
