#!/usr/bin/env bash
# Makes the README's pictures from the real program: the window with a few
# slot texts (docs/images/window.png) and, minimised, the notification-area
# icon with its two-line tip (docs/images/tray.png). Runs on a private Xvfb in
# a Wine virtual desktop, in the same prefix as the tests; run it again when
# the look changes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_all
OUT="$ROOT/docs/images"
PROBE="$BUILD/tests/e2e/probe.exe"
[ -f "$PROBE" ] || { say "needs $PROBE (configure with the tests)"; exit 1; }
WORK="$(mktemp -d "$BUILD/screenshots.XXXXXX")"
XVFB_PID=""
cleanup() {
  wine "$PROBE" --any close >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
start_xvfb
ensure_prefix

probe() { wine "$PROBE" "$@" 2>/dev/null | tr -d '\r'; }
# until WANT CMD...: waits up to 20 s for CMD to print WANT.
until_prints() {
  local want="$1" i
  shift
  for i in $(seq 1 200); do [ "$("$@" || true)" == "$want" ] && return 0; sleep 0.1; done
  say "gave up waiting for '$want' from: $*"; return 1
}
# shot FILE X Y W H: a part of the screen, without metadata that changes from run to run.
shot() {
  import -window root -crop "$4x$5+$2+$3" +repage -strip "PNG24:$1"
  say "saved $1 ($4x$5)"
}

cp "$BUILD/app/clipboard.exe" "$WORK/"
sqlite3 "$WORK/data.mdb" "create table data (id integer, cont text);
  insert into data values (1, '下午三点开会'), (2, 'C:\\Users\\Public'),
    (3, 'Alt+3 存入'), (4, '138 0000 0000'), (5, ''), (6, ''), (7, ''), (8, ''), (9, '')"
(cd "$WORK" && exec wine explorer /desktop=shell,1024x768 "$WORK/clipboard.exe" >/dev/null 2>&1 </dev/null) &
until_prints "朔禾剪贴板 V1.3" probe --wait 20000 title
# Painted once the skin's blue border is on slot 9's clear button.
read -r x y w h <<<"$(probe button 9 clear)"
until_prints 1B8FD5 probe pixel "$x" "$((y + h / 2))"
read -r x y w h <<<"$(probe rect)"
mkdir -p "$OUT"
shot "$OUT/window.png" "$x" "$y" "$w" "$h"

probe minimize >/dev/null
until_prints 1 probe --any trayicon
xdotool mousemove 600 400
until_prints "600 400" probe cursor
xdotool mousemove 1013 757
until_prints "朔禾剪贴板 V1.3" eval "probe anytip | head -n 1"
read -r x y _ _ <<<"$(probe anytip | tail -n 1)"
x=$((x > 16 ? x - 16 : 0)) y=$((y > 16 ? y - 16 : 0))
shot "$OUT/tray.png" "$x" "$y" "$((1024 - x))" "$((768 - y))"
