#!/usr/bin/env bash
# The main window as the skin draws it, read from a screenshot: the assign
# and clear buttons show the blue rounded face, the text boxes the flat blue
# one-pixel border.
source "$(dirname "$0")/lib.sh"

BUTTON_BORDER=1B8FD5  # outer border of a button face
BUTTON_LIGHT=FFFFFF   # second row of the normal face
EDGE=54A5D5           # flat border of a sunken window

start_app
sleep 1.5
SHOT="$WORK/look.png"
import -window root "$SHOT" || die "no screenshot"

for n in 1 5 9; do
  for which in get clear; do
    arg=""; [ "$which" = clear ] && arg=clear
    read -r x y w h <<<"$(probe button "$n" $arg)"
    mx=$((x + w / 2)); my=$((y + h / 2))
    check "slot $n $which button: left border" "$(pixel "$SHOT" "$x" "$my")" "$BUTTON_BORDER"
    check "slot $n $which button: right border" "$(pixel "$SHOT" $((x + w - 1)) "$my")" "$BUTTON_BORDER"
    check "slot $n $which button: top border" "$(pixel "$SHOT" "$mx" "$y")" "$BUTTON_BORDER"
    check "slot $n $which button: bottom border" "$(pixel "$SHOT" "$mx" $((y + h - 1)))" "$BUTTON_BORDER"
    check "slot $n $which button: highlight row" "$(pixel "$SHOT" "$mx" $((y + 1)))" "$BUTTON_LIGHT"
    corner="$(pixel "$SHOT" "$x" "$y")"
    if [ "$corner" = "$BUTTON_BORDER" ]; then
      fail "slot $n $which button: corner not rounded off"
    else
      log "ok: slot $n $which button: corner rounded off ($corner)"
    fi
  done

  read -r x y w h <<<"$(probe slotrect "$n")"
  my=$((y + h / 2)); mx=$((x + w / 2))
  check "slot $n text box: left border" "$(pixel "$SHOT" "$x" "$my")" "$EDGE"
  check "slot $n text box: right border" "$(pixel "$SHOT" $((x + w - 1)) "$my")" "$EDGE"
  check "slot $n text box: top border" "$(pixel "$SHOT" "$mx" "$y")" "$EDGE"
  check "slot $n text box: bottom border" "$(pixel "$SHOT" "$mx" $((y + h - 1)))" "$EDGE"
  check "slot $n text box: one pixel only" "$(pixel "$SHOT" $((x + 1)) "$my")" "FFFFFF"
done

close_app
