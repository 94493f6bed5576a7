#!/usr/bin/env bash
# Slots and geometry kept across runs: data.mdb made on a first run, typed and
# assigned text (quotes, line breaks, characters outside the BMP) back after a
# restart, rows the program does not own left alone, the session end saving
# both files; a data.mdb that is not the program's database is reported and
# left byte for byte.
source "$(dirname "$0")/lib.sh"

DB="$APPDIR/data.mdb"
sql() { sqlite3 "$DB" "$@"; }
rows() { sql "select group_concat(id || ':' || typeof(cont) || ':' || replace(cont, char(13)||char(10), '~'), '|') from (select * from data order by rowid)"; }

start_app
type_into 1 "it's a \"quoted\" slot"
type_into 9 "line one"
xdotool key Return type "line two"
expect "slot 9 typed" $'line one\r\nline two' probe slot 9
chinese='中文 ūnïcödé 😀'
clip_set "$chinese"
click "$(probe button 5)"
expect "slot 5 assigned" "$chinese" probe slot 5
close_app
check "nine rows in id order, empty ones as text" "$(rows)" \
  "1:text:it's a \"quoted\" slot|2:text:|3:text:|4:text:|5:text:$chinese|6:text:|7:text:|8:text:|9:text:line one~line two"

# Rows the program does not own (id 10, a second row for id 2), a Null slot,
# and a stored place.
sql "update data set cont='first two' where id=2; update data set cont=NULL where id=3;
     insert into data(id, cont) values (10, 'ten'), (2, 'second two');"
printf '[Last]\r\nWidth= 4500\r\nHeight= 5250\r\nLeft= 1500\r\nTop= 750\r\n' >"$APPDIR/Config.ini"
start_app
check "slots back, slot 2 from its first row" "$(for n in 1 2 3 5 9; do probe slot $n; echo; done)" \
  "it's a \"quoted\" slot"$'\nfirst two\n\n'"$chinese"$'\nline one\r\nline two'
check "stored place" "$(probe rect)" "100 50 300 350"
xdotool mousemove 200 60 mousedown 1 mousemove 230 80 mousemove 260 100 mouseup 1
expect "moved by its caption" "160 90 300 350" probe rect
click "$(probe button 2 clear)"
expect "slot 2 cleared" "" probe slot 2
type_into 2 "saved at session end"
expect "slot 2 typed" "saved at session end" probe slot 2

in_desktop "$WORK" wineboot.exe -e
gone "$APPDIR/" || die "the program outlived the session end"
check "rows saved at session end" "$(rows)" \
  "1:text:it's a \"quoted\" slot|2:text:saved at session end|3:text:|4:text:|5:text:$chinese|6:text:|7:text:|8:text:|9:text:line one~line two|10:text:ten|2:text:second two"
check "place saved at session end" "$(tr -d '\r' <"$APPDIR/Config.ini")" $'[Last]\nWidth= 4500\nHeight= 5250\nLeft= 2400\nTop= 1350'
wait

# bad_file WHAT: the data.mdb as it stands is reported, no window comes, nothing is written.
bad_file() {
  cp "$DB" "$WORK/before"
  rm -f "$APPDIR/Config.ini"
  in_desktop "$APPDIR" "$APPDIR/clipboard.exe"
  local text
  text="$(probe --wait 20000 errorbox | tr '\n' ' ' | sed 's/“[^”]*\\app\\data.mdb”/“data.mdb”/')"
  check "$1: reported" "$text" "运行时错误 '$2':  数据库文件“data.mdb”出错：$3，文件未改动 "
  check "$1: no window" "$(probe --wait 0 title || echo none)" "none"
  probe errorbox ok >/dev/null
  gone "$APPDIR/" || fail "$1: the program did not end"
  cmp -s "$DB" "$WORK/before" || fail "$1: file changed"
  check "$1: nothing written beside it" "$(ls "$APPDIR" | tr '\n' ' ')" "clipboard.exe data.mdb "
}
{ printf '\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00'; head -c 2032 /dev/urandom; } >"$DB"
bad_file "Jet file" 26 "不是剪贴板数据库（SQLite 格式）"
rm -f "$DB"
sqlite3 "$DB" 'create table other(x integer)'
bad_file "database without the table" 1 "没有表 data"
