#!/usr/bin/env bash
# Alt+digit and Ctrl+digit pressed in other programs (the test editor, which
# holds Alt+5 itself and whose edit box belongs to a second process, as in a
# Store app's frame or a WebView2 host; Wine's Notepad) while a program of its own reads
# every clipboard change: slots filled from the clipboard and pasted whole,
# every paste landing, one at a time and in a quick series, the clipboard
# emptied after a paste, no menu mode left after Alt; the same while the
# window is in the tray; a second start of the program brings the running
# copy's window back; the keys another program holds are named once. (A slow
# clipboard owner, another program too, the unit tests bring.)
source "$(dirname "$0")/lib.sh"

# paste N WANT: Ctrl+N in the editor pastes WANT and leaves the clipboard empty.
paste() {
  focus_editor
  clip_set "before Ctrl+$1"
  xdotool key ctrl+$1
  expect "Ctrl+$1 pastes" "$2" probe editor text
  expect "Ctrl+$1: clipboard emptied" "<empty>" probe clipboard
}
# pastes WHERE COUNT KEY TEXT: presses KEY COUNT times, each once the last
# paste has landed (or 5 s have passed); prints how many landed whole.
pastes() {
  local where="$1" count="$2" key="$3" text="$4" landed=0 i want="" got
  for i in $(seq 1 "$count"); do
    xdotool key "$key"
    got="$(probe --wait 5000 "$where" await "$want$text")"
    [ "$got" == "$want$text" ] && landed=$((landed + 1))
    want="$got"
  done
  echo "$landed"
}
# A program of its own that reads every clipboard change.
start_peer() {
  in_desktop "$WORK" "$BIN/test_editor.exe" "$@"
  probe --wait 20000 peer updates >/dev/null || die "test_editor $* did not start"
}
# restart_editor ARGS...: a new test editor in place of the running one.
restart_editor() {
  probe editor close
  gone "$BIN/test_editor.exe -" || fail "the editor did not close"
  start_editor "$@"
}
PEER="$BIN/test_editor.exe reader"
stop_peer() { pkill -f "^$PEER" >/dev/null 2>&1 || true; gone "$PEER" || fail "the reader still running"; }

start_editor --hold-alt 5
start_app
check "the key another program holds is named" "$(probe --wait 20000 errorbox)" "以下热键已被其他程序占用，在本程序中不起作用：Alt+5"
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
start_peer reader  # reads every change at once
declare -A text=([1]='abc 中文 ąč' [3]=$'第一行 粘贴\n第二行 second\n三')
for n in 1 2 3 4 5 6 7 8 9; do
  focus_editor
  clip_set "${text[$n]:-text $n}"
  xdotool keydown alt key $n  # Alt released once the key took effect, as a hand would
  [ $n = 5 ] && expect "Alt+5 reached its holder" 1 probe editor hotkeys
  [ $n = 5 ] || expect "Alt+$n stores" "${text[$n]:-text $n}" eval "probe slot $n | tr -d '\r'"
  xdotool keyup alt
done
check "Alt+5 left slot 5 alone, the clipboard as it was, nothing typed" \
  "$(probe slot 5)|$(probe clipboard)|$(probe editor text)" "|text 9|"
xdotool type typed
expect "after Alt+9 no menu mode: typing reaches the editor" typed probe editor text
for n in 1 2 3 4 6 7 8 9; do paste $n "$(probe slot $n)"; done
paste 5 ""

# Every paste lands while the reader reads every change: ten pressed 40 ms
# apart, two pressed together, with Ctrl held.
focus_editor
xdotool key --delay 40 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3 ctrl+3
slot3="$(probe slot 3)"
expect "ten quick Ctrl+3: ten copies" "$(for i in $(seq 1 10); do printf '%s' "$slot3"; done)" probe editor text
focus_editor
clip_set A1 && xdotool key alt+1 && expect "Alt+1 stores A1" A1 probe slot 1
clip_set B3 && xdotool key alt+3 && expect "Alt+3 stores B3" B3 probe slot 3
xdotool keydown ctrl key 1 key 3 keyup ctrl
expect "Ctrl+1 and Ctrl+3 pressed together" A1B3 probe editor text
expect "the clipboard ends empty" "<empty>" probe clipboard
xdotool keydown ctrl key --delay 200 3 3 keyup ctrl
expect "Ctrl held, 3 pressed twice: two more pastes" "A1B3B3B3" probe editor text
# An editor whose edit box belongs to another process, inside a window of
# that process (a Store app's frame, a WebView2 host): 20 pastes with the
# reader beside it, which gets none of them, and 20 without.
restart_editor --guest-edit 1
check "the editor's box belongs to another process" "$(probe editor boxprocess)" 1
focus_editor
reads="$(probe peer reads)"
check "20 pastes into the other process's box, a reader beside it" "$(pastes editor 20 ctrl+4 "$(probe slot 4)")" 20
check "the reader was given none of the pasted texts" "$(probe peer reads)" "$reads"
stop_peer
focus_editor
check "20 pastes into the other process's box" "$(pastes editor 20 ctrl+4 "$(probe slot 4)")" 20
restart_editor --hold-alt 5
# A target that reads only 3 s after the keystroke (a remote desktop, a busy program).
focus_editor
probe editor late 3000
xdotool key ctrl+1
expect "Ctrl+1 into a target that reads 3 s late" "$(probe slot 1)" probe editor text
expect "the clipboard emptied after the late read" "<empty>" probe clipboard
probe editor late 0
# A reader that keeps the clipboard open 50 ms, pasting into Wine's Notepad.
start_peer reader --hold 50
in_desktop "$WORK" notepad.exe
probe --wait 20000 notepad rect >/dev/null || die "Notepad did not appear"
click "$(probe notepad rect)"
poll notepad probe focus || fail "Notepad took no focus ($POLLED)"
check "20 pastes into Notepad, reader holding the clipboard 50 ms" "$(pastes notepad 20 ctrl+4 "$(probe slot 4)")" 20
probe notepad close
# A reader that reads 100 ms after each change.
stop_peer
start_peer reader --late 100
focus_editor
check "20 pastes with a reader 100 ms late" "$(pastes editor 20 ctrl+4 "$(probe slot 4)")" 20
stop_peer

# A text far longer than a slot's box shows is stored, read back and pasted whole.
long="$(seq -f '第 %g 行 line' 1 3000)"
focus_editor
clip_set "$long"
xdotool key alt+8
expect "Alt+8 stores a text of 3000 lines whole" "$long" eval "probe slot 8 | tr -d '\r'"
paste 8 "$(probe slot 8)"

probe minimize >/dev/null
expect "minimised into the tray" "minimized hidden" probe --any state
focus_editor
clip_set "from the tray"
xdotool key alt+6
expect "Alt+6 while in the tray" "from the tray" probe --any slot 6
paste 6 "from the tray"
check "still in the tray" "$(probe --any state)" "minimized hidden"

# A second start (from another folder too): the running copy's window comes
# back out of the tray and to the front, and the second start ends without a word.
mkdir "$WORK/second"
cp "$CLIP_EXE" "$WORK/second/clipboard.exe"
check "in the tray before the second start" "$(probe --any state)" "minimized hidden"
in_desktop "$WORK/second" "$WORK/second/clipboard.exe"
expect "the first copy's window back" "normal visible" probe --any state
expect "and in front" "$TITLE" probe foreground
gone "$WORK/second/" || fail "the second start did not end"
check "one copy, no message" "$(probe count)|$(no_box)" "1|none"
focus_editor
clip_set "after the second start"
xdotool key alt+7
expect "Alt+7 still works in the first copy" "after the second start" probe slot 7
paste 7 "after the second start"
close_app
