#!/usr/bin/env bash
# Alt+digit and Ctrl+digit pressed in another program (the test editor, which
# holds Alt+5 itself and listens to the clipboard): slots filled from the
# clipboard and pasted into the editor whole, the clipboard emptied after a
# paste, no menu mode left after Alt; the same while the window is in
# the tray; a second copy of the program neither takes nor breaks the keys;
# each copy names once the keys another program holds.
source "$(dirname "$0")/lib.sh"

first() { probe --any --image '\app\clipboard.exe' "$@"; }
second() { probe --any --image '\second\clipboard.exe' "$@"; }
# paste N WANT: Ctrl+N in the editor pastes WANT and leaves the clipboard empty.
paste() {
  focus_editor
  clip_set "before Ctrl+$1"
  xdotool key ctrl+$1
  expect "Ctrl+$1: clipboard emptied" "<empty>" probe clipboard
  expect "Ctrl+$1 pastes" "$2" probe editor text
}

start_editor --hold-alt 5 --listen  # a clipboard listener beside it reads every offer first
start_app
no_box() { probe --wait 0 errorbox >/dev/null && echo "a message" || echo none; }
check "the key another program holds is named" "$(probe --wait 20000 errorbox)" "以下热键已被其他程序占用，在本程序中不起作用：Alt+5"
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
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
[ "$(probe editor reads)" -gt 0 ] || fail "the clipboard listener read nothing"
focus_editor
xdotool keydown ctrl key --delay 200 3 3 keyup ctrl
expect "Ctrl held, 3 pressed twice: two pastes" "$(probe slot 3)$(probe slot 3)" probe editor text
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

# A second copy from another folder, with slot texts of its own.
mkdir "$WORK/second"
cp "$CLIP_EXE" "$WORK/second/clipboard.exe"
sqlite3 "$WORK/second/data.mdb" "create table data (id integer, cont text);
  insert into data select value, 'second copy text' from generate_series(1, 9)"
in_desktop "$WORK/second" "$WORK/second/clipboard.exe"
expect "second copy started, with its own slots" "second copy text" second --wait 20000 slot 2
check "two copies, the second naming every key" "$(probe count; probe --wait 20000 errorbox)" \
  $'2\n以下热键已被其他程序占用，在本程序中不起作用：Alt+1、Ctrl+1、Alt+2、Ctrl+2、Alt+3、Ctrl+3、Alt+4、Ctrl+4、Alt+5、Ctrl+5、Alt+6、Ctrl+6、Alt+7、Ctrl+7、Alt+8、Ctrl+8、Alt+9、Ctrl+9'
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
focus_editor
clip_set "for the first copy"
xdotool key alt+2
expect "Alt+2 fills the first copy's slot 2" "for the first copy" first slot 2
check "Alt+2 leaves the second copy's slot 2" "$(second slot 2)" "second copy text"
paste 2 "for the first copy"
second close >/dev/null
gone "$WORK/second/" || fail "second copy did not end"
expect "one copy left" 1 probe count
focus_editor
clip_set "after the second copy"
xdotool key alt+7
expect "Alt+7 still works in the first copy" "after the second copy" first slot 7
paste 7 "after the second copy"
close_app
