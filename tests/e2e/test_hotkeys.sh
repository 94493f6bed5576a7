#!/usr/bin/env bash
# Alt+digit and Ctrl+digit pressed in another program (the test editor): the
# slot filled from the X clipboard, the slot pasted into the editor, the
# clipboard empty afterwards; the same while the window is hidden in the tray.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hotkey_lib.sh"

start_editor
start_app
focus_editor

# Alt+3 with text: slot 3 and its tooltip, the clipboard left as it was.
text='abc 中文 ąč'
set_clipboard "$text"
key alt+3
check "Alt+3 fills slot 3" "$(eventually "$text" probe slot 3)" "$text"
check "clipboard unchanged by Alt+3" "$(eventually "$text" xclip -selection clipboard -o)" "$text"
check "nothing typed into the editor" "$(probe editor)" ""
check "tooltip of slot 3" "$(slot_tip 3)" "$text"

# Alt+3 with an image: slot 3 empties.
focus_editor
set_clipboard_image
key alt+3
check "Alt+3 with an image empties slot 3" "$(probe slot 3)" ""

# Ctrl+3 pastes Chinese text with line breaks; the clipboard ends empty.
multi=$'第一行 粘贴\n第二行 second\n三'
set_clipboard "$multi"
key alt+3
slot3="$(probe slot 3)"
check "slot 3 holds the lines" "$(printf '%s' "$slot3" | tr -d '\r')" "$multi"
set_clipboard "previous clipboard"
focus_editor
key ctrl+3
check "Ctrl+3 pastes slot 3" "$(eventually "$slot3" probe editor)" "$slot3"
check "clipboard empty after Ctrl+3" "$(eventually "<empty>" wine_clipboard)" "<empty>"
check "window stays shown and normal" "$(probe state)" "normal visible"

# Holding Ctrl and pressing the digit twice pastes twice, and the keyboard
# state stays what the user holds.
clear_editor
xdotool keydown ctrl; sleep 0.2
xdotool key --delay 300 3 3; sleep 0.8
xdotool keyup ctrl; sleep 0.5
check "Ctrl held, 3 pressed twice: two pastes" "$(probe editor)" "$slot3$slot3"
check "clipboard empty after the repeats" "$(eventually "<empty>" wine_clipboard)" "<empty>"

# Ctrl+4 with slot 4 empty: nothing pasted, the clipboard emptied.
clear_editor
set_clipboard "wiped by Ctrl+4"
key ctrl+4
check "Ctrl+4 with an empty slot pastes nothing" "$(probe editor)" ""
check "clipboard empty after Ctrl+4" "$(eventually "<empty>" wine_clipboard)" "<empty>"

# In the tray the keys work alike.
probe minimize >/dev/null; sleep 1
check "minimised into the tray" "$(probe --any state)" "minimized hidden"
focus_editor
set_clipboard "from the tray"
key alt+6
check "Alt+6 while in the tray" "$(eventually "from the tray" probe --any slot 6)" "from the tray"
clear_editor
key ctrl+6
check "Ctrl+6 while in the tray" "$(eventually "from the tray" probe editor)" "from the tray"
check "clipboard empty after Ctrl+6" "$(eventually "<empty>" wine_clipboard)" "<empty>"
check "still hidden in the tray" "$(probe --any state)" "minimized hidden"
shot_root "hotkeys"
close_app
