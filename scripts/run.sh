#!/usr/bin/env bash
# Sets up what is missing, builds the program and starts it.
# With a usable X display the program opens there. Without one, a private
# Xvfb with a Wine virtual desktop is started, a screenshot is saved under the
# build folder, and the program keeps running until Ctrl+C.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_all
EXE="$BUILD/app/clipboard.exe"

if display_usable; then
  ensure_prefix
  set_window_manager present
  say "starting $EXE"
  exec wine "$EXE"
fi

XVFB_PID=""
APP_PID=""
cleanup() {
  trap - EXIT INT TERM
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    # End the Wine session rather than kill the program, so that it saves
    # its slots and window geometry first.
    say "stopping: ending the Wine session so the program saves its slots"
    wine explorer /desktop=shell,1024x768 wineboot.exe -e >/dev/null 2>&1 || true
    for _ in $(seq 1 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  fi
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
trap cleanup EXIT INT TERM

start_xvfb
ensure_prefix
say "no display: running on $DISPLAY inside a Wine virtual desktop"
wine explorer /desktop=shell,1024x768 "$EXE" >/dev/null 2>&1 &
APP_PID=$!

# Wait for the main window, then take a picture of the screen.
for _ in $(seq 1 100); do
  xdotool search --name 'V1.3' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
SHOT="$BUILD/screenshot.png"
import -window root -crop 1024x768+0+0 +repage "$SHOT"
say "screenshot saved: $SHOT"
say "the program is running; press Ctrl+C to stop it"
wait "$APP_PID" || true
