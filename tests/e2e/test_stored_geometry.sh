#!/usr/bin/env bash
# Stored geometry: clamps at start-up, the layout at a larger size, negative
# values, a position off every screen, an overflowing width.
source "$(dirname "$0")/lib.sh"

write_ini() { printf '[Other]\r\nKeep=yes\r\n[Last]\r\n%s\r\n' "$1" > "$APPDIR/Config.ini"; }

# Larger than the minimum: text boxes and buttons follow the width, slot 9 the height.
write_ini "$(printf 'Width=5000\r\nHeight=6000\r\nLeft=-150\r\nTop=1500')"
start_app
check "clamped left, stored top, 5000x6000 twips" "$(probe rect)" "0 100 333 400"
read -r _ _ w _ <<<"$(probe slotrect 1)"
check "text box width W-1935 twips" "$w" "204"
read -r bx _ _ _ <<<"$(probe button 1 assign)"
read -r cx _ _ _ <<<"$(probe button 1 clear)"
# Buttons sit at W-1530 and W-870 twips in the client area: 44 px apart.
check "assign/clear gap" "$((cx - bx))" "44"
read -r _ _ _ h9 <<<"$(probe slotrect 9)"
check "slot 9 height H-4110 twips" "$h9" "126"
read -r _ _ _ h1 <<<"$(probe slotrect 1)"
check "slot 1 keeps its height" "$h1" "18"
close_app
ini="$(tr -d '\r' < "$APPDIR/Config.ini")"
check "other section untouched" "$(sed -n '1,2p' <<<"$ini")" "$(printf '[Other]\nKeep=yes')"
check "written back" "$(sed -n '3,7p' <<<"$ini")" "$(printf '[Last]\nWidth= 4995\nHeight= 6000\nLeft= 0\nTop= 1500')"

# Too small: start-up raises the width to 3750, the resize handler the height to 4425.
write_ini "$(printf 'Width=3000\r\nHeight=4300\r\nLeft=0\r\nTop=0')"
start_app
check "3000x4300 becomes 3750x4425" "$(probe rect)" "0 0 250 295"
close_app

# Far off every monitor: moved back onto the screen, size kept.
write_ini "$(printf 'Width=3750\r\nHeight=4500\r\nLeft=900000\r\nTop=900000')"
start_app
read -r x y w h <<<"$(probe rect)"
if [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1024 ] && [ $((y + h)) -le 768 ]; then
  log "ok: off-screen position brought back ($x,$y)"
else
  fail "off-screen window not brought back: $x $y $w $h"
fi
close_app

# A width that overflows when converted: no crash, a usable window.
write_ini "$(printf 'Width=2147483647\r\nHeight=2147483647\r\nLeft=2147483647\r\nTop=0')"
start_app
read -r x y w h <<<"$(probe rect)"
[ "$w" -ge 250 ] && [ "$h" -ge 295 ] && [ "$x" -ge 0 ] || fail "overflowing geometry gave $x $y $w $h"
check "still responding" "$(probe title)" "$TITLE"
close_app
