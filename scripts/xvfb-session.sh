#!/usr/bin/env bash
# Sourced by the end-to-end scripts: starts a private Xvfb display and stops it on exit.
# There is no window manager on it, so scripts focus windows themselves before typing.
xvfb_start() {
  local display
  for display in $(seq 90 140); do
    if [ ! -e "/tmp/.X${display}-lock" ] && [ ! -e "/tmp/.X11-unix/X${display}" ]; then
      Xvfb ":$display" -screen 0 "${XVFB_GEOMETRY:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
      XVFB_PID=$!
      export DISPLAY=":$display"
      for _ in $(seq 1 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && { trap xvfb_stop EXIT; return 0; }
        sleep 0.1
      done
      kill "$XVFB_PID" 2>/dev/null || true
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

xvfb_stop() {
  [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
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
