#!/usr/bin/env bash
# Ending the Windows session (wineboot -e in the program's desktop) runs the
# shut-down sequence before the process is ended: the geometry is written.
source "$(dirname "$0")/lib.sh"

printf '[Last]\r\nWidth= 4500\r\nHeight= 5250\r\nLeft= 1500\r\nTop= 750\r\n' > "$APPDIR/Config.ini"
start_app
check "stored geometry" "$(probe rect)" "100 50 300 350"
# Change it so that a write is visible.
xdotool mousemove 200 60 mousedown 1; sleep 0.2
xdotool mousemove 230 80; sleep 0.2
xdotool mousemove 260 100; sleep 0.2
xdotool mouseup 1; sleep 0.5
check "moved" "$(probe rect)" "160 90 300 350"

wine explorer "/desktop=$DESK,1024x768" wineboot.exe -e >/dev/null 2>&1 &
wait_app_exit || die "the program outlived the session end"
check "geometry written at session end" "$(tr -d '\r' < "$APPDIR/Config.ini")" \
  "$(printf '[Last]\nWidth= 4500\nHeight= 5250\nLeft= 2400\nTop= 1350')"
wait || true
