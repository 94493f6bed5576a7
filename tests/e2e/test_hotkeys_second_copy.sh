#!/usr/bin/env bash
# A second copy started from another folder beside a running one: it runs,
# its hotkeys do nothing, the first copy's keep working, also after the second
# copy has ended.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hotkey_lib.sh"

SECOND="$WORK/second"
mkdir -p "$SECOND"
cp "$CLIP_EXE" "$SECOND/clipboard.exe"
first() { probe --image '\app\clipboard.exe' "$@"; }
second() { probe --image '\second\clipboard.exe' "$@"; }

start_editor
start_app
( cd "$SECOND" && exec wine explorer "/desktop=$DESK,1024x768" "$SECOND/clipboard.exe" >"$WORK/second.log" 2>&1 ) &
SECOND_PID=$!
second --wait 20000 find >/dev/null || die "second copy did not appear"
check "two copies running" "$(probe count)" "2"
check "second copy started without an error" "$(probe --wait 500 errorbox 2>/dev/null || echo none)" "none"

focus_editor
set_clipboard "for the first copy"
key alt+2
check "Alt+2 fills the first copy's slot 2" "$(eventually "for the first copy" first slot 2)" "for the first copy"
check "Alt+2 leaves the second copy's slot 2" "$(second slot 2)" ""

# The second copy's own slot 2 gets other text: Ctrl+2 must paste the first
# copy's slot, once.
read -r x y <<<"$(centre $(second slotrect 2))"
click_at "$x" "$y"
click_at "$x" "$y"  # the first click may only end the editor's Alt menu mode
xdotool type --delay 30 "second copy text"
sleep 0.3
check "second copy's slot 2 typed" "$(second slot 2)" "second copy text"
clear_editor
key ctrl+2
check "Ctrl+2 pastes the first copy's slot once" "$(eventually "for the first copy" probe editor)" "for the first copy"

# The second copy ends; its failed unregistration takes nothing from the first.
second close >/dev/null
wait "$SECOND_PID" 2>/dev/null || true
check "one copy left" "$(probe count)" "1"
focus_editor
set_clipboard "after the second copy"
key alt+7
check "Alt+7 still works in the first copy" "$(eventually "after the second copy" first slot 7)" "after the second copy"
clear_editor
key ctrl+7
check "Ctrl+7 still works in the first copy" "$(eventually "after the second copy" probe editor)" "after the second copy"
close_app
