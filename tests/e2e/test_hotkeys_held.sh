#!/usr/bin/env bash
# Another program holds Alt+5 before the program starts: that key is left out
# silently (it keeps reaching its holder) and the other seventeen work.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hotkey_lib.sh"

start_editor --hold-alt 5
start_app
check "no error at start-up" "$(probe --wait 500 errorbox 2>/dev/null || echo none)" "none"

for n in 1 2 3 4 5 6 7 8 9; do
  focus_editor
  set_clipboard "text $n"
  key "alt+$n"
done
for n in 1 2 3 4 6 7 8 9; do
  check "Alt+$n stores" "$(eventually "text $n" probe slot $n)" "text $n"
done
check "Alt+5 leaves slot 5 alone" "$(probe slot 5)" ""
check "Alt+5 reached its holder" "$(probe editorhotkeys)" "1"

# Ctrl+5 is free: slot 5 given by hand pastes like every other slot.
read -r x y <<<"$(centre $(probe slotrect 5))"
# Alt pressed and released alone leaves the editor in its menu mode, which
# takes the first click.
click_at "$x" "$y"
click_at "$x" "$y"
xdotool type --delay 30 "text 5"
sleep 0.3
check "slot 5 typed" "$(probe slot 5)" "text 5"
for n in 1 2 3 4 5 6 7 8 9; do
  clear_editor
  key "ctrl+$n"
  check "Ctrl+$n pastes" "$(eventually "text $n" probe editor)" "text $n"
done
check "clipboard empty at the end" "$(eventually "<empty>" wine_clipboard)" "<empty>"
close_app
