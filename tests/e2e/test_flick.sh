#!/usr/bin/env bash
# Quick flicks of the pointer: it enters each of the eighteen buttons and
# leaves the window at once, forty times over. The program keeps up: two
# seconds later every button is at rest, its normal face on screen.
source "$(dirname "$0")/lib.sh"

NORMAL=E3F0FB  # left ring of the normal face

start_app
xdotool mousemove 900 700
round=()
for n in 1 2 3 4 5 6 7 8 9; do
  for which in get clear; do
    read -r x y w h <<<"$(probe button $n $which)"
    round+=(mousemove $((x + w / 2)) $((y + h / 2)) mousemove 900 700)
  done
done
expect "every button at rest before" 0 probe restless $NORMAL
burst=()
for _ in $(seq 40); do burst+=("${round[@]}"); done
xdotool "${burst[@]}"
check "every button at rest two seconds after the flicks" "$(probe restless $NORMAL)" 0
close_app
