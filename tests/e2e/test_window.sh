#!/usr/bin/env bash
# The window on a first start as a user works with it, started from the
# release archive unpacked into an empty folder: its place (its skinned look
# the fade test compares with a picture); the tab order; typing, assign and
# clear with the clipboard, tooltips; the frame held at its minimum size;
# closing writes both files beside the program.
source "$(dirname "$0")/lib.sh"

check "release archive holds" "$(unzip -Z1 "$CLIP_ARCHIVE" | LC_ALL=C sort | xargs)" "LICENSE README.md clipboard.exe"
rm "$APPDIR/clipboard.exe" && unzip -q "$CLIP_ARCHIVE" -d "$APPDIR"

rest_on() { point_at 600 600; point_at $(centre "$(probe slotrect "$1")"); }

start_app
check "title, default place, topmost, shown" "$(probe title; probe rect; probe topmost; probe state)" "$TITLE"$'\n0 0 250 300\n1\nnormal visible'

# Every control in the order of its tab index: the labels 0-8, the boxes 9-17,
# the buttons (slot 1 18 and 19, slot 9 20 and 21, slot n 2n+18 and 2n+19),
# the tray picture 36. (Each control's index the main window's unit tests check.)
order=()
for n in 1 2 3 4 5 6 7 8 9; do
  order[n - 1]="label $n" order[8 + n]="slot $n"
  get=$((n == 1 ? 18 : n == 9 ? 20 : 2 * n + 18))
  order[get]="button $n get" order[get + 1]="button $n clear"
done
order[36]=tray
# The Tab key through those that take the focus, round to the first again.
click "$(probe slotrect 1)"
expect "slot 1 focused" "slot 1" probe focus
for want in "${order[@]:10:26}" "slot 1"; do
  xdotool key Tab
  expect "Tab to $want" "$want" probe focus
done
xdotool key shift+Tab
expect "Shift+Tab back to the last" "button 8 clear" probe focus

type_into 2 "hello world"
expect "typed text in slot 2" "hello world" probe slot 2
rest_on 2
expect "tooltip follows typing" "hello world" probe tip
text='abc 中文 ąč 😀'
clip_set "$text"
click "$(probe button 3)"
expect "assign fills slot 3" "$text" probe slot 3
rest_on 3
expect "tooltip of slot 3" "$text" probe tip
check "clipboard unchanged by assign" "$(probe clipboard)" "$text"
click "$(probe button 3 clear)"
expect "clear empties slot 3" "" probe slot 3
clip_image
click "$(probe button 2)"
expect "assign with an image empties slot 2" "" probe slot 2

# The bottom-right corner dragged far below the minimum size.
xdotool mousemove 248 298 mousedown 1 mousemove 200 250 mousemove 150 150 mouseup 1
expect "frame held at the minimum size" "0 0 250 295" probe rect
close_app
check "settings and slots written beside it" "$(tr -d '\r' <"$APPDIR/Config.ini"; ls "$APPDIR/data.mdb")" $'[Last]\nWidth= 3750\nHeight= 4425\nLeft= 0\nTop= 0\n'"$APPDIR/data.mdb"
