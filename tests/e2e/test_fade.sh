#!/usr/bin/env bash
# An assign button fades to its hot face while the pointer rests on it, fades
# back when the pointer leaves, and shows its pressed face at once when the
# mouse button goes down: screenshots taken over time.
source "$(dirname "$0")/lib.sh"

start_app
sleep 1.5
read -r x y w h <<<"$(probe button 5)"
[ -n "$h" ] || die "assign button 5 not found"
read -r cx cy <<<"$(centre "$x" "$y" "$w" "$h")"
# Left ring of the face, beside the caption.
px=$((x + 1)); py=$((y + h / 2))
AWAY_X=700; AWAY_Y=600

# Colour of the sample pixel in a fresh screenshot.
sample() {
  local f="$WORK/s$1.png"
  import -window root "$f" 2>/dev/null
  pixel "$f" "$px" "$py"
}

# Screenshots as fast as they come for about $1 seconds; one colour a line.
series() {
  local end=$(( $(date +%s%N) / 1000000 + $1 * 1000 )) n=0
  while [ $(( $(date +%s%N) / 1000000 )) -lt $end ]; do
    sample "series$n"; n=$((n + 1))
  done
}

# 1 when the series held a colour other than both ends.
has_between() {
  local c
  for c in $1; do
    [ "$c" != "$2" ] && [ "$c" != "$3" ] && { echo 1; return; }
  done
  echo 0
}

xdotool mousemove "$AWAY_X" "$AWAY_Y"
sleep 2
NORMAL="$(sample normal)"
[ -n "$NORMAL" ] || die "no screenshot"

# Hover: the hot face comes in step by step.
xdotool mousemove "$cx" "$cy"
sleep 0.05
HOVER="$(series 1)"
sleep 1.5
HOT="$(sample hot)"
log "normal $NORMAL, hot $HOT; hover series: $(echo $HOVER)"
[ "$HOT" != "$NORMAL" ] || fail "the hot face looks like the normal one"
check "hover: fade, not a jump" "$(has_between "$HOVER" "$NORMAL" "$HOT")" 1
check "hover: first shot not yet hot" "$([ "$(echo $HOVER | cut -d' ' -f1)" != "$HOT" ] && echo 1 || echo 0)" 1
check "hover: state Hot, fade over, pointer tracked" "$(probe buttonskin 5)" "1 0 0 1"

# Leave: back to the normal face, again step by step.
xdotool mousemove "$AWAY_X" "$AWAY_Y"
sleep 0.05
LEAVE="$(series 1)"
sleep 1.5
log "leave series: $(echo $LEAVE)"
check "leave: fade, not a jump" "$(has_between "$LEAVE" "$HOT" "$NORMAL")" 1
check "leave: back to the normal face" "$(sample back)" "$NORMAL"
check "leave: state Normal, fade over, pointer gone" "$(probe buttonskin 5)" "0 0 0 0"

# Press: the pressed face at once, and it stays while the button is held.
xdotool mousemove "$cx" "$cy"
sleep 2
xdotool mousedown 1
sleep 0.2
PRESSED="$(sample pressed)"
sleep 0.5
HELD="$(sample held)"
check "press: state Pressed, no fade" "$(probe buttonskin 5 | cut -d' ' -f1,3)" "2 0"
log "pressed $PRESSED"
[ "$PRESSED" != "$HOT" ] && [ "$PRESSED" != "$NORMAL" ] || fail "no pressed face ($PRESSED)"
check "press: face unchanged while held" "$HELD" "$PRESSED"
xdotool mouseup 1
sleep 0.3
xdotool mousemove "$AWAY_X" "$AWAY_Y"
sleep 2
check "release: normal face after the fades" "$(sample released)" "$NORMAL"
check "release: state Normal, fade over" "$(probe buttonskin 5)" "0 0 0 0"

close_app
