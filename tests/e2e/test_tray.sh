#!/usr/bin/env bash
# Minimised into the notification area: the window hides behind an icon with
# a two-line tip; a right click does nothing; a left click restores it where
# it was and removes the icon. The icon comes back when the shell makes its
# notification area again ("TaskbarCreated"), and none is left behind when
# the program ends while in the tray.
source "$(dirname "$0")/lib.sh"

ICON="1013 757"
to_tray() {
  probe minimize >/dev/null
  expect "$1: hidden" "minimized hidden" probe --any state
  expect "$1: icon shown" 1 probe --any trayicon
}
restore() {
  xdotool mousemove $ICON click 1
  expect "$1: restored" "normal visible" probe state
  expect "$1: icon removed" 0 probe trayicon
}

start_editor  # keeps the desktop and its task bar alive after the program ends
start_app
rect="$(probe rect)"
check "no icon while shown" "$(probe trayicon)" 0
to_tray "minimise"
# tip_text: the tip's two lines (kept with its place in $WORK/tip). The tip
# comes a moment after the pointer rests on the icon and goes again on its
# own; when none shows 3 s after the last hover (a busy machine looked too
# late), the pointer leaves the icon and comes back.
tip_text() {
  local now
  if probe anytip >"$WORK/tip"; then head -n 2 "$WORK/tip" | tr -d '\r'; return; fi
  now=$(date +%s%N)
  if (( now - $(cat "$WORK/hovered") > 3000000000 )); then
    xdotool mousemove 600 400 mousemove $ICON && echo "$now" >"$WORK/hovered"
  fi
  echo "<no tooltip>"
}
point_at 600 400
point_at $ICON
date +%s%N >"$WORK/hovered"
expect "tip: title and hint on two lines" $'朔禾剪贴板 V1.3\n提示：Alt+数字键赋值，Ctrl+数字键取值' tip_text
read -r _ _ _ tip_h <<<"$(tail -n 1 "$WORK/tip")"
[ "${tip_h:-0}" -ge 30 ] && log "ok: tip two lines high" || fail "tip $tip_h px high: not two lines"
xdotool click 3
holds "right click: still hidden, no menu" "minimized hidden 0" eval 'echo $(probe --any state) $(probe popupmenu)'
restore "left click"
check "restored at its size and place" "$(probe rect)" "$rect"

to_tray "minimise again"
probe taskbarcreated
check "TaskbarCreated with the icon still there: kept, still hidden" "$(probe --any trayicon; probe --any state)" $'1\nminimized hidden'
check "icon removed behind the program's back" "$(probe --any traydelete; probe --any trayicon)" $'1\n0'
probe taskbarcreated
expect "TaskbarCreated brings the icon back" 1 probe --any trayicon
check "window stays in the tray" "$(probe --any state)" "minimized hidden"
restore "click on the icon brought back"
probe taskbarcreated
check "TaskbarCreated while shown adds no icon" "$(probe trayicon)" 0

to_tray "before the end"
pic="$(probe --any picture)"
close_app
expect "no icon left after the program ended" 0 probe trayicon "$pic"
