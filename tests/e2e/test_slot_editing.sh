#!/usr/bin/env bash
# Slots driven as a user would: typing, the assign and clear buttons with the
# X clipboard (bridged to Wine's), tooltips that follow the text.
source "$(dirname "$0")/lib.sh"

hover_tip() {
  local x y
  read -r x y <<<"$(centre $(probe slotrect "$1"))"
  xdotool mousemove 600 600; sleep 0.3
  xdotool mousemove "$x" "$y"; sleep 1.5
  probe tip
}

start_app

# Typing into slot 2.
read -r x y <<<"$(centre $(probe slotrect 2))"
click_at "$x" "$y"
xdotool type --delay 30 "hello world"
sleep 0.3
check "typed text in slot 2" "$(probe slot 2)" "hello world"
check "tooltip follows typing" "$(hover_tip 2)" "hello world"

# Assign from the clipboard, with text outside the ANSI code page.
text='abc 中文 ąč 😀'
clip_set "$text"
read -r x y <<<"$(centre $(probe button 3 assign))"
click_at "$x" "$y"
check "assign fills slot 3" "$(probe slot 3)" "$text"
check "tooltip of slot 3" "$(hover_tip 3)" "$text"
check "clipboard unchanged by assign" "$(clip_get)" "$text"

# Clear.
read -r x y <<<"$(centre $(probe button 3 clear))"
click_at "$x" "$y"
check "clear empties slot 3" "$(probe slot 3)" ""

# An image on the clipboard empties the slot.
clip_set "to be replaced"
read -r x y <<<"$(centre $(probe button 4 assign))"
click_at "$x" "$y"
check "slot 4 filled" "$(probe slot 4)" "to be replaced"
/usr/bin/convert-im6.q16 -size 8x8 xc:red "$WORK/red.png"
clip_set "$WORK/red.png" image/png
click_at "$x" "$y"
check "assign with an image empties slot 4" "$(probe slot 4)" ""

# Closing while a slot has the focus keeps what was typed (the window is still alive until close).
read -r x y <<<"$(centre $(probe slotrect 5))"
click_at "$x" "$y"
xdotool type --delay 30 "typed last"
sleep 0.3
check "slot 5 typed" "$(probe slot 5)" "typed last"
shot_root "slots"
close_app
