#!/usr/bin/env bash
# Slots survive restarts in data.mdb: first run creates it, typed and assigned
# text (Chinese, line breaks, characters outside the BMP) comes back, rows the
# program does not own stay untouched, and a session end saves too.
source "$(dirname "$0")/lib.sh"

DB="$APPDIR/data.mdb"
sql() { sqlite3 "$DB" "$@"; }

start_app
check "no slot text on a first run" "$(probe slot 1)$(probe slot 9)" ""

read -r x y <<<"$(centre $(probe slotrect 1))"
click_at "$x" "$y"
xdotool type --delay 30 "it's a \"quoted\" slot"
read -r x y <<<"$(centre $(probe slotrect 9))"
click_at "$x" "$y"
xdotool type --delay 30 "line one"; xdotool key Return; xdotool type --delay 30 "line two"
chinese='中文 ūnïcödé 😀'
clip_set "$chinese"
read -r x y <<<"$(centre $(probe button 5 assign))"
click_at "$x" "$y"
check "slot 5 assigned" "$(probe slot 5)" "$chinese"
close_app

[ -f "$DB" ] || die "data.mdb not created"
check "nine rows, ids 1..9 in order" "$(sql 'select group_concat(id) from (select id from data order by rowid)')" "1,2,3,4,5,6,7,8,9"
check "empty slots stored as text" "$(sql "select count(*) from data where typeof(cont)='text'")" "9"
check "slot 1 in the file" "$(sql 'select cont from data where id=1')" "it's a \"quoted\" slot"
check "slot 5 in the file" "$(sql 'select cont from data where id=5')" "$chinese"
check "slot 9 with CR LF" "$(sql "select replace(cont, char(13)||char(10), '<CRLF>') from data where id=9")" "line one<CRLF>line two"

# Rows the program does not own: id 10, a second row for id 2, a Null slot.
sql "insert into data(id, cont) values (10, 'ten'); insert into data(id, cont) values (2, 'second two');
     update data set cont='first two' where id=2 and rowid=(select min(rowid) from data where id=2);
     update data set cont=NULL where id=3;"
start_app
check "slot 1 back" "$(probe slot 1)" "it's a \"quoted\" slot"
check "slot 2 is the first row" "$(probe slot 2)" "first two"
check "Null slot 3 empty" "$(probe slot 3)" ""
check "slot 5 back" "$(probe slot 5)" "$chinese"
check "slot 9 back with its line break" "$(probe slot 9 | tr '\r\n' '|~')" "line one|~line two"

# Edit slot 2 and end the session instead of closing.
read -r x y <<<"$(centre $(probe button 2 clear))"
click_at "$x" "$y"
read -r x y <<<"$(centre $(probe slotrect 2))"
click_at "$x" "$y"
xdotool type --delay 30 "saved at session end"
sleep 0.3
wine explorer "/desktop=$DESK,1024x768" wineboot.exe -e >/dev/null 2>&1 &
wait_app_exit || die "the program outlived the session end"
wait || true
check "slot 2 saved at session end" "$(sql "select group_concat(cont, '|') from (select cont from data where id=2 order by rowid)")" "saved at session end|second two"
check "id 10 untouched" "$(sql 'select cont from data where id=10')" "ten"
check "Null slot written as empty text" "$(sql "select typeof(cont) || ':' || cont from data where id=3")" "text:"
check "integrity" "$(sql 'pragma integrity_check')" "ok"
