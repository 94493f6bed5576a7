#!/usr/bin/env bash
# The frame as a user handles it: dragging it smaller than the minimum puts it
# back, maximising keeps the layout, a moved window's place is saved, and
# closing while minimised keeps the restored geometry.
source "$(dirname "$0")/lib.sh"

start_app
read -r _ _ w1 _ <<<"$(probe slotrect 1)"

# Drag the bottom-right corner up and left, well below the minimum size.
xdotool mousemove 248 298 mousedown 1; sleep 0.2
xdotool mousemove 200 250; sleep 0.2
xdotool mousemove 150 150; sleep 0.2
xdotool mouseup 1; sleep 0.5
check "minimum size after dragging the frame" "$(probe rect)" "0 0 250 295"

# Drag it larger: text boxes widen with the window.
xdotool mousemove 248 293 mousedown 1; sleep 0.2
xdotool mousemove 300 350; sleep 0.2
xdotool mousemove 348 393; sleep 0.2
xdotool mouseup 1; sleep 0.5
read -r _ _ w h <<<"$(probe rect)"
check "dragged larger" "$w $h" "350 395"
read -r _ _ wl _ <<<"$(probe slotrect 1)"
check "text box widened by 100 px" "$wl" "$((w1 + 100))"

# Maximise with a double click on the caption: the layout stays as it was.
xdotool mousemove 100 10 click --repeat 2 --delay 80 1; sleep 0.8
check "maximised" "$(probe state)" "maximized visible"
read -r _ _ wm _ <<<"$(probe slotrect 1)"
check "layout unchanged when maximised" "$wm" "$wl"
xdotool mousemove 100 10 click --repeat 2 --delay 80 1; sleep 0.8
check "restored" "$(probe state)" "normal visible"

# Move the window by its caption to 100,80.
read -r x0 y0 _ _ <<<"$(probe rect)"
xdotool mousemove 100 10 mousedown 1; sleep 0.2
xdotool mousemove 150 50; sleep 0.2
xdotool mousemove 200 90; sleep 0.2
xdotool mouseup 1; sleep 0.5
read -r x y w h <<<"$(probe rect)"
check "moved by the caption" "$((x - x0)) $((y - y0))" "100 80"

# Minimise with the caption's minimise button and close while minimised: the
# saved geometry is the restored one.
click_at $((x + w - 48)) $((y + 12)); sleep 0.5
state="$(probe --any state)"
case "$state" in minimized*) log "ok: minimised ($state)";; *) fail "not minimised: $state";; esac
close_app
check "restored geometry saved while minimised" "$(tr -d '\r' < "$APPDIR/Config.ini")" \
  "$(printf '[Last]\nWidth= %d\nHeight= %d\nLeft= %d\nTop= %d' $((w * 15)) $((h * 15)) $((x * 15)) $((y * 15)))"
