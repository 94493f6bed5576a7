#!/usr/bin/env bash
# Minimise to the tray and back: the window hides behind an icon at the right
# of the task bar with a two-line tip; a right click does nothing; releasing
# the left button restores the window at its size and place and removes the
# icon; minimising again adds it again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hotkey_lib.sh"

ICON_X=1013
ICON_Y=757

start_app
rect="$(probe rect)"
check "no icon while shown" "$(eventually "0" probe trayicon)" "0"

probe minimize >/dev/null; sleep 1
check "minimise hides the window" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"
check "minimise shows the icon" "$(eventually "1" probe --any trayicon)" "1"

# The tip: title and hint on two lines.
xdotool mousemove 600 400; sleep 0.3
xdotool mousemove "$ICON_X" "$ICON_Y"; sleep 2
tip="$(probe anytip)"
check "tip text" "$(printf '%s' "$tip" | head -n 2 | tr -d '\r')" $'朔禾剪贴板 V1.3\n提示：Alt+数字键赋值，Ctrl+数字键取值'
shot_root "tip"
read -r _ _ _ tip_h <<<"$(printf '%s' "$tip" | tail -n 1)"
[ "${tip_h:-0}" -ge 30 ] && log "ok: tip is two lines high ($tip_h px)" || fail "tip height $tip_h px: not two lines"

# Right click: nothing.
xdotool mousemove "$ICON_X" "$ICON_Y" click 3; sleep 0.8
check "right click leaves the window hidden" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"
check "right click keeps the icon" "$(eventually "1" probe --any trayicon)" "1"
check "no menu after the right click" "$(eventually "0" probe popupmenu)" "0"

# Left click: restored where it was, icon gone.
click_at "$ICON_X" "$ICON_Y"; sleep 0.5
check "left click restores the window" "$(eventually "normal visible" probe state)" "normal visible"
check "restored at its size and place" "$(eventually "$rect" probe rect)" "$rect"
check "icon removed on restore" "$(eventually "0" probe trayicon)" "0"

# Again.
probe minimize >/dev/null; sleep 1
check "minimised again" "$(eventually "minimized hidden" probe --any state)" "minimized hidden"
check "icon added again" "$(eventually "1" probe --any trayicon)" "1"
click_at "$ICON_X" "$ICON_Y"; sleep 0.5
check "restored again" "$(eventually "normal visible" probe state)" "normal visible"
close_app
