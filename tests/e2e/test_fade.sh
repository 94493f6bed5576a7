#!/usr/bin/env bash
# The skinned window as the screen shows it, compared with its reference
# picture (tests/e2e/reference/window.png, made by scripts/look_reference.sh),
# a button hot under the pointer and another pressed; quick flicks over all
# the buttons, with or without a click on each, leave none of them behind.
# (How a face fades in and out, tick by tick, the skin's unit tests tell.)
source "$(dirname "$0")/lib.sh"

NORMAL=E3F0FB  # the left ring of a button's normal face, beside the caption

# settle MS ACTION...: runs ACTION once the probe watches the buttons; prints
# how many are not at rest once ACTION has reached them (seen within MS) and
# they had time to come back.
settle() {
  local ms="$1"
  shift
  : >"$WORK/sampled"  # the last run's "ready" must not count
  probe restless $NORMAL "$ms" >"$WORK/sampled" &
  local pid=$!
  poll ready head -n 1 "$WORK/sampled" || fail "no sampling"
  "$@"
  wait $pid
  tail -n 1 "$WORK/sampled"
}

# The window as a user sees it: slots holding text, the pointer resting on
# one button (hot), the focus on another held down with the space bar
# (pressed, focus frame), every other button normal. Taken once the skin
# reports every fade at rest; with no text box focused no caret blinks, and
# no tooltip shows over a button.
sqlite3 "$APPDIR/data.mdb" "create table data (id integer, cont text);
  insert into data values (1, '下午三点开会'), (2, 'C:\\Users\\Public'), (3, 'Alt+3 存入'),
    (4, '一行比文本框更长的文字，只看得见开头'), (5, ''), (6, ''), (7, ''), (8, '138 0000 0000'),
    (9, '第一行' || char(13) || char(10) || '第二行')"
REFERENCE="$CLIP_SOURCE_DIR/tests/e2e/reference/window.png"
start_app
click "$(probe button 7 clear)"  # an empty slot: the click only moves the focus
expect "focus on slot 7's clear button" "button 7 clear" probe focus
point_at $(centre "$(probe button 2)")
expect "pointer on slot 2's assign button, the rest at rest" "2 get hot" probe faces
xdotool keydown space
expect "space held on slot 7's clear button" "2 get hot, 7 clear pressed" probe faces
if [ -n "${CLIP_LOOK_RENEW:-}" ]; then
  probe shot "Z:$REFERENCE" && log "wrote $REFERENCE"
else
  check "the window as its reference picture shows it" "$(probe look "Z:$REFERENCE" "Z:$WORK")" same
fi
xdotool keyup space
expect "slot 7 still empty" "" probe slot 7
# Quick flicks: the pointer enters each of the eighteen buttons and leaves the
# window at once, forty times over; every button comes to rest again (a
# fade takes 1.3 s; the system may notice a leave up to 0.4 s late). The
# system may merge the moves of a burst the program was quick to read: then
# no button is seen stirring, and none is left behind either.
# burst CLICK: forty rounds over the eighteen buttons, CLICK between entering
# each and leaving the window.
burst() {
  local round=() n which x y w h
  for n in 1 2 3 4 5 6 7 8 9; do
    for which in get clear; do
      read -r x y w h <<<"$(probe button $n $which)"
      round+=(mousemove $((x + w / 2)) $((y + h / 2)) $1 mousemove 900 700)
    done
  done
  BURST=()
  for _ in $(seq 40); do BURST+=("${round[@]}"); done
}
burst ""
flicks="$(settle 5000 xdotool "${BURST[@]}")"
check "flicks: every button comes to rest" "${flicks/no burst/0}" 0
# The same with a click on each: clicks are never merged, and each moves the
# focus on, so the last one is where the focus ends.
burst "mousedown 1 mouseup 1"
check "clicks: every button comes to rest" "$(settle 30000 xdotool "${BURST[@]}")" 0
check "clicks: the focus ends on the last button clicked" "$(probe focus)" "button 9 clear"
close_app
