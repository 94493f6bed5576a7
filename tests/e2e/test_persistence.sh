#!/usr/bin/env bash
# Slots and geometry kept across runs: data.mdb made on a first run, typed and
# assigned text (quotes, line breaks, characters outside the BMP) back after a
# restart, rows the program does not own left alone, the session end saving
# both files; slots in the file while the program runs, so that a hard end
# loses nothing (a session end while another program holds data.mdb the
# main window's unit tests tell); two copies of two sessions in one folder; a full disk while running and at
# shut-down; a program folder that takes no files (the user's own folder, and
# the old files it starts from);
# a data.mdb that is not the program's database (or an old one that
# cannot be read) is reported and left byte for byte.
source "$(dirname "$0")/lib.sh"

DB="$APPDIR/data.mdb"
# Waits for the program's write lock as the program waits for others.
sql() { sqlite3 -cmd ".timeout 10000" "$DB" "$@"; }
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

# in_file N...: the slots' texts in data.mdb (each its first row), joined by '|'.
in_file() { local n t=(); for n; do t+=("$(sql "select cont from data where id=$n order by rowid limit 1")"); done; (IFS='|'; echo "${t[*]}"); }
# box_text START: the message box's text (lines joined by blanks) once it starts with START.
box_text() {
  local end=$((SECONDS + 30)) text
  until text="$(probe --wait 0 errorbox | tr '\n' ' ')"; [[ "$text" == "$1"* ]]; do
    [ $SECONDS -lt $end ] || { fail "no message starting '$1' (last: '$text')"; return 1; }
    sleep 0.1
  done
  printf '%s' "$text"
}

# Ended hard after typing and Alt+3, as a crash or the task manager would:
# both reached the file while the program ran.
start_app
click "$(probe button 2 clear)"
expect "slot 2 cleared" "" probe slot 2
type_into 2 "typed before a hard end"
clip_set "stored by Alt+3"
xdotool key alt+3
expect "typed and stored text in the file while running" "typed before a hard end|stored by Alt+3" in_file 2 3
wine taskkill /f /im clipboard.exe >/dev/null 2>&1 </dev/null || true
gone "$APPDIR/" || die "the program outlived taskkill /f"
start_app
check "both back after the hard end" "$(probe slot 2)|$(probe slot 3)" "typed before a hard end|stored by Alt+3"
close_app

# Two copies that still meet: two user sessions (two Wine prefixes, each its
# own wineserver) on one folder. Neither copy's close undoes what the other
# stored; a second start within one session only brings the first back.
PREFIX2="$WORK/prefix2"
cp -a "$WINEPREFIX" "$PREFIX2"
trap 'status=$?; set +e; WINEPREFIX="$PREFIX2" wineserver -k 2>/dev/null; (exit $status); finish' EXIT
other() { WINEPREFIX="$PREFIX2" "$@"; }
printf '[Last]\r\nLeft= 0\r\nTop= 0\r\n' >"$APPDIR/Config.ini"
start_app
other start_app
check "each session's copy holds its keys" "$(no_box)|$(other no_box)" "none|none"
# (The two desktops lie on one X screen: the slots are set through their windows.)
probe setslot 5 "typed in the first"
other probe setslot 6 "typed in the second"
expect "both copies' slots in the file" "typed in the first|typed in the second" in_file 5 6
probe close >/dev/null
expect "the first copy ended" 0 probe --any count
other probe close >/dev/null
expect "the second copy ended" 0 other probe --any count
check "each copy's change kept after both closed" "$(in_file 5 6 3)" "typed in the first|typed in the second|stored by Alt+3"
other wineserver -k
rm -rf "$PREFIX2"
trap finish EXIT

# A small disk: the program's folder on a tmpfs with room for little more
# than the program, filled by a large slot while running, then freed: told in
# Chinese, the texts kept in the file named, data.mdb whole. (A save that
# fails at shut-down the main window's unit tests tell.)
SMALL="$WORK/small"
mkdir "$SMALL"
mount -t tmpfs -o size=$(($(stat -c %s "$CLIP_EXE") / 1024 + 1024))k tmpfs "$SMALL" || die "cannot mount a tmpfs (the tests run as root)"
# Unmounted lazily also when a step fails: finish then ends the program.
trap 'status=$?; set +e; umount -l "$SMALL" 2>/dev/null; (exit $status); finish' EXIT
cp "$CLIP_EXE" "$SMALL/clipboard.exe"
small_sql() { sqlite3 -cmd ".timeout 10000" "$SMALL/data.mdb" "$@"; }
fill() { head -c $(($(df --output=avail -B1 "$SMALL" | tail -n 1) - 40960)) /dev/zero >"$SMALL/filler" 2>/dev/null || true; }
# kept_file TEXT: the Linux path of the text file a message names on its last line.
kept_file() { winepath -u "$(sed 's/ *$//; s/.*  //' <<<"$1")" 2>/dev/null; }
kept_text() { tr -d '\r' <"$1" | sed '1s/^\xEF\xBB\xBF//'; }
first_box_of() { sed 's/“[^”]*\\small\\data.mdb”/“data.mdb”/' <<<"${1%%C:\\*}"; }
start_app "$SMALL"
type_into 1 "small and safe"
expect "slot 1 on the small disk" "small and safe" small_sql "select cont from data where id=1"
fill
clip_set "$(seq -f 'line %g of a long slot' 1 8000)"
xdotool key alt+4
text="$(box_text "运行时错误 '13'")"
check "a full disk while running is told" "$(first_box_of "$text")" \
  "运行时错误 '13':  数据库文件“data.mdb”出错：磁盘已满（database or disk is full）  槽暂时没有保存到数据库，程序会稍后再试，关闭时也会再试。 在此之前，槽的文字已保存在文本文件中：  "
kept="$(kept_file "$text")"
check "the texts kept in the file named" "$(kept_text "$kept" | grep -A1 -e '^\[槽 1\]' -e '^\[槽 4\]' | sed '$d'; kept_text "$kept" | grep -c '^line [0-9]* of a long slot$')" \
  $'[槽 1]\nsmall and safe\n--\n[槽 4]\n8000'
rm -f "$kept"
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
type_into 7 "typed meanwhile"
expect "typing goes on undisturbed" "typed meanwhile" probe slot 7
holds "told once, not at every try or keystroke" none no_box
check "data.mdb whole, slot 4 as it was" "$(small_sql "pragma integrity_check; select count(*) from data where id=4 and length(cont) > 0")" $'ok\n0'
rm "$SMALL/filler"
expect "written once there is room again" 1 small_sql "select cont like '%line 8000 of a long slot' from data where id=4"
close_app "$SMALL"
check "data.mdb whole after all" \
  "$(small_sql "pragma integrity_check; select group_concat(id || ':' || substr(cont, 1, 14), '|') from data where length(cont) > 0")" \
  $'ok\n1:small and safe|4:line 1 of a lo|7:typed meanwhil'
umount -l "$SMALL"
trap finish EXIT

# A program folder that cannot be written (a read-only mount, as "Program
# Files" is to a user): the files go to the user's own folder, which is told
# once and found again; there the slots come from the newest of an old
# data.mdb beside the program and the one Windows' file virtualization kept in
# the VirtualStore place, both left byte for byte. (How an older version's
# Jet file is taken over the slot store's and the main window's unit tests
# tell.)
LOCAL="$(winepath -u "$(wine cmd.exe /c echo %LOCALAPPDATA% 2>/dev/null </dev/null | tr -d '\r')")"
USERDIR="$LOCAL/朔禾剪贴板"
RO="$WORK/ro"
VSTORE="$LOCAL/VirtualStore/$(winepath -w "$RO" | sed 's/^[A-Za-z]:\\//; s/\\/\//g')"
mkdir "$RO"
mount -t tmpfs -o size=16m tmpfs "$RO" || die "cannot mount a tmpfs (the tests run as root)"
trap 'status=$?; set +e; umount -l "$RO" 2>/dev/null; rm -rf "$USERDIR" "$LOCAL/VirtualStore"; (exit $status); finish' EXIT
cp "$CLIP_EXE" "$RO/clipboard.exe"
mount -o remount,ro "$RO"
rm -rf "$USERDIR"
user_note="程序所在的文件夹不能写入： $(winepath -w "$RO")  槽和窗口位置从现在起保存在： $(winepath -w "$USERDIR") "
start_app "$RO"
check "where the files live, told" "$(box_text '程序所在的文件夹')" "$user_note"
probe errorbox ok >/dev/null
probe setslot 2 "in the user's own folder"
close_app "$RO"
check "the files in the user's own folder" "$(LC_ALL=C ls "$USERDIR" | tr '\n' ' ')" "Config.ini data.mdb "
start_app "$RO"
check "found again, not told again" "$(probe slot 2)|$(no_box)" "in the user's own folder|none"
close_app "$RO"
rm -rf "$USERDIR"
mount -o remount,rw "$RO"
sqlite3 "$RO/data.mdb" "create table data (id integer, cont text); insert into data values (1, 'older, beside the program')"
touch -d '1 day ago' "$RO/data.mdb"
mount -o remount,ro "$RO"
mkdir -p "$VSTORE"
sqlite3 "$VSTORE/data.mdb" "create table data (id integer, cont text); insert into data values (1, 'kept by the virtualization')"
cp "$VSTORE/data.mdb" "$WORK/vstore-before" && cp "$RO/data.mdb" "$WORK/beside-before"
start_app "$RO"
check "told where the files live, and whence the slots" "$(box_text '程序所在的文件夹')" \
  "$user_note 槽取自（原文件保持不变）： $(winepath -w "$VSTORE/data.mdb") "
probe errorbox ok >/dev/null
check "the newest old slots shown" "$(probe slot 1)" "kept by the virtualization"
close_app "$RO"
cmp -s "$VSTORE/data.mdb" "$WORK/vstore-before" && cmp -s "$RO/data.mdb" "$WORK/beside-before" || fail "an old file changed"
umount -l "$RO"
rm -rf "$USERDIR" "$LOCAL/VirtualStore"
trap finish EXIT

# bad_file WHAT: the data.mdb as it stands is reported, no window comes, nothing is written.
bad_file() {
  cp "$DB" "$WORK/before"
  rm -f "$APPDIR/Config.ini"
  in_desktop "$APPDIR" "$APPDIR/clipboard.exe"
  local text
  text="$(probe --wait 40000 errorbox | tr '\n' ' ' | sed 's/“[^”]*\\app\\data.mdb”/“data.mdb”/')" ||
    die "$1: no message came ($(pgrep -fc "^$APPDIR/") running)"
  check "$1: reported" "$text" "运行时错误 '$2':  数据库文件“data.mdb”出错：$3，文件未改动 "
  check "$1: no window" "$(probe --wait 0 title || echo none)" "none"
  probe errorbox ok >/dev/null
  gone "$APPDIR/" || fail "$1: the program did not end"
  cmp -s "$DB" "$WORK/before" || fail "$1: file changed"
  check "$1: nothing written beside it" "$(ls "$APPDIR" | tr '\n' ' ')" "clipboard.exe data.mdb "
}
{ printf '\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00'; head -c 2032 /dev/urandom; } >"$DB"
bad_file "a Jet file cut short" 11 "是旧版的 Jet 数据库，但文件已损坏（the file is cut short: 2056 bytes, less than one page）"
# (Which foreign files are refused, and in which words, the slot store's unit tests tell.)
head -c 3000 /dev/urandom >"$DB"
bad_file "a foreign file" 26 "不是剪贴板数据库（SQLite 格式）"
