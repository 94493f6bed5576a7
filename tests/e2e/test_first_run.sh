#!/usr/bin/env bash
# First start without Config.ini: default geometry, topmost, nine rows; closing
# creates the settings file with the four keys in order.
source "$(dirname "$0")/lib.sh"

start_app
check "title" "$(probe title)" "$TITLE"
dpi="$(probe dpi)"
check "96 dpi screen" "$dpi" "96"
check "default geometry 0,0 3750x4500 twips" "$(probe rect)" "0 0 250 300"
check "topmost window state" "$(probe topmost)" "1"
check "shown normal" "$(probe state)" "normal visible"
n_edits="$(probe controls | grep -c '^Edit ')"
check "nine slot text boxes" "$n_edits" "9"
check "eighteen buttons" "$(probe controls | grep -c '^Button ')" "18"
check "assign caption" "$(probe controls | grep '^Button ' | grep -c '"赋值"')" "9"
check "clear caption" "$(probe controls | grep '^Button ' | grep -c '"清除"')" "9"
check "labels 1: to 9:" "$(probe controls | grep '^Static ' | sed 's/.*"\(.*\)"/\1/' | tr -d '\n')" "1:2:3:4:5:6:7:8:9:"
shot_root "first_run"

close_app
[ -f "$APPDIR/Config.ini" ] || die "Config.ini not written at close"
check "settings file text" "$(tr -d '\r' < "$APPDIR/Config.ini")" "$(printf '[Last]\nWidth= 3750\nHeight= 4500\nLeft= 0\nTop= 0')"
