#!/usr/bin/env bash
# A data.mdb that is not the program's database is reported with its number
# and description, the window never appears, and the file is left as it was.
source "$(dirname "$0")/lib.sh"

DB="$APPDIR/data.mdb"

try_bad_file() {
  local what="$1"
  cp "$DB" "$WORK/before"
  ( cd "$APPDIR" && exec wine explorer "/desktop=$DESK,1024x768" "$APPDIR/clipboard.exe" >/dev/null 2>&1 ) &
  local text
  text="$(probe --wait 20000 errorbox)" || { fail "$what: no error box"; return; }
  log "error box for $what: $(tr '\n' ' ' <<<"$text")"
  case "$text" in *"$2"*) log "ok: $what reported with number $2";; *) fail "$what: number $2 not in '$text'";; esac
  case "$text" in *data.mdb*) log "ok: $what names the file";; *) fail "$what: file not named";; esac
  if probe --wait 300 title >/dev/null 2>&1; then fail "$what: main window shown"; fi
  probe errorbox-ok >/dev/null
  wait_app_exit || fail "$what: program did not end after the report"
  cmp -s "$DB" "$WORK/before" && log "ok: $what left byte for byte" || fail "$what: file changed"
  ls "$APPDIR" | grep -q -- '-journal\|-wal' && fail "$what: journal left beside it" || true
  [ -f "$APPDIR/Config.ini" ] && fail "$what: settings written" || true
}

# A Jet database header.
printf '\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00' > "$DB"
head -c 2032 /dev/urandom >> "$DB"
try_bad_file "Jet file" 26

# Plain text.
printf 'these are my notes, not a database\n' > "$DB"
try_bad_file "text file" 26

# A database without the table.
rm -f "$DB"; sqlite3 "$DB" 'create table other(x integer)'
try_bad_file "database without the table" 1
