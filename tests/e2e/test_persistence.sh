#!/usr/bin/env bash
# Slots and geometry kept across runs: data.mdb made on a first run, typed and
# assigned text (quotes, line breaks, characters outside the BMP) back after a
# restart, rows the program does not own left alone, the session end saving
# both files; slots in the file while the program runs, so that a hard end
# loses nothing; two copies in one folder; a full disk while running and at
# shut-down; an older version's Jet data.mdb taken over, or shown where the
# folder takes no files; a data.mdb that is not the program's database (or an
# old one that cannot be read) is reported and left byte for byte.
source "$(dirname "$0")/lib.sh"

DB="$APPDIR/data.mdb"
# As lib.sh's, and telling what shows instead when the window does not come.
start_app() {
  in_desktop "$APPDIR" "$APPDIR/clipboard.exe"
  probe --wait 40000 title >/dev/null ||
    die "main window did not appear ($(probe --wait 0 errorbox | tr '\n' ' ')$(pgrep -fc "^$APPDIR/") running)"
}
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
no_box() { probe --wait 0 errorbox >/dev/null && echo "a message" || echo none; }
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

# Two copies in one folder, side by side: the second names the keys the first
# holds, and neither copy's close undoes what the other stored.
cp "$APPDIR/clipboard.exe" "$APPDIR/clipboard2.exe"
first() { probe --image '\app\clipboard.exe' "$@"; }
second() { probe --image '\app\clipboard2.exe' "$@"; }
printf '[Last]\r\nLeft= 0\r\nTop= 0\r\n' >"$APPDIR/Config.ini"
start_app
printf '[Last]\r\nLeft= 6000\r\nTop= 0\r\n' >"$APPDIR/Config.ini"
in_desktop "$APPDIR" "$APPDIR/clipboard2.exe"
second --wait 40000 title >/dev/null || die "the second copy did not appear"
keys="Alt+1、Ctrl+1、Alt+2、Ctrl+2、Alt+3、Ctrl+3、Alt+4、Ctrl+4、Alt+5、Ctrl+5、Alt+6、Ctrl+6、Alt+7、Ctrl+7、Alt+8、Ctrl+8、Alt+9、Ctrl+9"
check "the second copy names the keys the first holds" "$(box_text '以下热键')" "以下热键已被其他程序占用，在本程序中不起作用：$keys "
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
click "$(second slotrect 6)"
poll "slot 6" probe focus || fail "the second copy's slot 6 took no focus ($POLLED)"
xdotool type --delay 20 "typed in the second"
clip_set "stored in the first"
xdotool key alt+5
expect "Alt+5 fills the first copy's slot 5" "stored in the first" first slot 5
expect "both copies' slots in the file" "stored in the first|typed in the second" in_file 5 6
first close >/dev/null
gone "$APPDIR/clipboard.exe" || fail "the first copy did not end"
second close >/dev/null
gone "$APPDIR/clipboard2.exe" || fail "the second copy did not end"
check "each copy's change kept after both closed" "$(in_file 5 6 3)" "stored in the first|typed in the second|stored by Alt+3"
rm "$APPDIR/clipboard2.exe"

# A small disk: the program's folder on a tmpfs with room for little more
# than the program, filled by a large slot while running (then freed) and
# again at shut-down: told in Chinese, the texts kept in the file named,
# data.mdb whole.
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
in_desktop "$SMALL" "$SMALL/clipboard.exe"
probe --wait 40000 title >/dev/null || die "the program on the small disk did not appear"
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
fill
click "$(probe slotrect 1)"
clip_set "$(seq -f 'another line %g' 1 8000)"
xdotool key alt+5
box_text "运行时错误 '13'" >/dev/null
probe errorbox ok >/dev/null
poll none no_box || fail "the message stayed"
probe close >/dev/null
check "a full disk at shut-down is told" "$(first_box_of "$(box_text "运行时错误 '13'")")" \
  "运行时错误 '13':  数据库文件“data.mdb”出错：磁盘已满（database or disk is full）  槽没有保存。要再试一次吗？ "
probe errorbox ok >/dev/null  # not again
text="$(box_text '槽没有保存到数据库')"
kept="$(kept_file "$text")"
check "the texts kept at shut-down" "$(kept_text "$kept" | grep -A1 -e '^\[槽 1\]' -e '^\[槽 5\]'; kept_text "$kept" | grep -c '^another line [0-9]*$')" \
  $'[槽 1]\nsmall and safe\n--\n[槽 5]\nanother line 1\n8000'
rm -f "$kept"
probe errorbox ok >/dev/null
gone "$SMALL/" || fail "the program did not end"
check "data.mdb whole after all" \
  "$(small_sql "pragma integrity_check; select group_concat(id || ':' || substr(cont, 1, 14), '|') from data where length(cont) > 0")" \
  $'ok\n1:small and safe|4:line 1 of a lo|7:typed meanwhil'
umount -l "$SMALL"
trap finish EXIT

# An older version's Jet data.mdb (the sample files, where they are here):
# its slots shown and told once; every row of its table in the new data.mdb;
# the old file kept byte for byte beside it; the next start the same slots
# without a word. In a folder that takes no files the slots are shown from
# the old file, which stays as it is.
SLOTS_FILE="${CLIP_JET_SAMPLES:-$(dirname "$CLIP_SOURCE_DIR")/shared/jet}/slots/slots-v2000-compressed.mdb"
# old_app DIR: a copy of the program beside a copy of the old file, started.
old_app() {
  mkdir "$1" && cp "$CLIP_EXE" "$1/clipboard.exe" && cp "$SLOTS_FILE" "$1/data.mdb" && chmod u+w "$1/data.mdb"
}
old_slots() { for n in 1 2 3 4 5 8 9; do probe slot $n; echo; done; probe slot 7 | grep -c 'clipboard line 🙂'; }
OLD_SLOTS=$'第一槽 slot one\nfirst row for 2\nline one\r\nline two\r\n\ttabbed\n\n\nΕλληνικά русский עברית 日本語 한국어\nemoji 🙂👍 and plain ASCII\n4000'
if [ -f "$SLOTS_FILE" ]; then
  OLD="$WORK/old"
  old_app "$OLD"
  in_desktop "$OLD" "$OLD/clipboard.exe"
  probe --wait 40000 title >/dev/null || die "the program on an old file did not appear"
  check "taking over told" "$(box_text '已接管' | sed 's/[A-Z]:\\[^ ]*\\old\\/…\\/')" \
    "已接管旧版程序的槽：旧版的 data.mdb 已转换为新格式。  旧版的 data.mdb 原样保存在：  …\\data-旧版.mdb "
  probe errorbox ok >/dev/null
  check "the old slots shown" "$(old_slots)" "$OLD_SLOTS"
  # Before the close, which writes the empty text into slot 5's Null.
  check "every row of the old table in the new file" \
    "$(sqlite3 -cmd ".timeout 10000" "$OLD/data.mdb" "select group_concat(id || ':' || ifnull(substr(replace(cont, char(13, 10), '~'), 1, 9), 'null'), '|') from (select * from data order by rowid)")" \
    "1:第一槽 slot |2:first row|3:line one~|2:second ro|4:|5:null|6:中文 mixed |7:第1行：剪贴板 c|10:row ten i|8:Ελληνικά |9:emoji 🙂👍 "
  probe close >/dev/null
  gone "$OLD/" || fail "the program on the old file did not end"
  cmp -s "$SLOTS_FILE" "$OLD/data-旧版.mdb" || fail "the old file not kept byte for byte"
  check "the folder" "$(LC_ALL=C ls "$OLD" | tr '\n' ' ')" "Config.ini clipboard.exe data-旧版.mdb data.mdb "
  in_desktop "$OLD" "$OLD/clipboard.exe"
  probe --wait 40000 title >/dev/null || die "the program did not start again"
  check "the same slots again" "$(old_slots)" "$OLD_SLOTS"
  holds "no second taking over, no word" none no_box
  probe close >/dev/null
  gone "$OLD/" || fail "the program did not end"
  check "the old file kept once" "$(LC_ALL=C ls "$OLD" | tr '\n' ' ')" "Config.ini clipboard.exe data-旧版.mdb data.mdb "

  RO="$WORK/readonly"
  old_app "$RO"
  chattr +i "$RO" || die "cannot make a folder read-only (the tests run as root)"
  trap 'status=$?; set +e; chattr -i "$RO"; (exit $status); finish' EXIT
  in_desktop "$RO" "$RO/clipboard.exe"
  probe --wait 40000 title >/dev/null || die "the program in a read-only folder did not appear"
  check "a read-only folder told" "$(box_text '已显示' | sed 's/“[^”]*”/“…”/')" \
    "已显示旧版程序的槽，但旧版的 data.mdb 无法转换为新格式：  运行时错误 '8':  无法写入“…”：文件夹无法写入（系统错误 5）  旧版的 data.mdb 保持原样。程序照常运行，但槽的改动暂时无法保存；程序会稍后再试，关闭时也会再试，仍不成功时槽的文字将保存在文本文件中。 "
  probe errorbox ok >/dev/null
  check "the old slots shown from the old file" "$(old_slots)" "$OLD_SLOTS"
  probe close >/dev/null
  box_text "运行时错误 '8'" >/dev/null
  probe errorbox ok >/dev/null
  kept="$(kept_file "$(box_text '槽没有保存到数据库')")"
  check "the texts kept elsewhere" "$(kept_text "$kept" | sed -n '3,4p')" $'[槽 2]\nfirst row for 2'
  rm -f "$kept"
  probe errorbox ok >/dev/null
  gone "$RO/" || fail "the program in the read-only folder did not end"
  cmp -s "$SLOTS_FILE" "$RO/data.mdb" || fail "the old file changed in a read-only folder"
  check "nothing written in the read-only folder" "$(LC_ALL=C ls "$RO" | tr '\n' ' ')" "clipboard.exe data.mdb "
  chattr -i "$RO"
  trap finish EXIT
else
  log "skipped: taking over an older version's data.mdb (no Jet sample files; set CLIP_JET_SAMPLES)"
fi

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
head -c 3000 /dev/urandom >"$DB"
bad_file "a foreign file" 26 "不是剪贴板数据库（SQLite 格式）"
rm -f "$DB"
sqlite3 "$DB" 'create table other(x integer)'
bad_file "database without the table" 1 "没有表 data"
