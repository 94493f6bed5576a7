# Helpers for the end-to-end scripts: a private copy of the program in its own
# folder, started inside a Wine virtual desktop with a task bar ("shell"), and
# read through probe.exe from inside Wine. Sourced by test_*.sh.
set -euo pipefail

: "${CLIP_EXE:?run through ctest}"
: "${CLIP_BINARY_DIR:?run through ctest}"
PROBE="$CLIP_BINARY_DIR/tests/e2e/probe.exe"
DESK="shell"
TITLE="朔禾剪贴板 V1.3"

E2E_NAME="$(basename "$0" .sh)"
WORK="$(mktemp -d "$CLIP_BINARY_DIR/tests/e2e/${E2E_NAME}.XXXXXX")"
APPDIR="$WORK/app"
mkdir -p "$APPDIR"
cp "$CLIP_EXE" "$APPDIR/clipboard.exe"
APP_PID=""
FAILED=0

log() { printf '%s\n' "$*" >&2; }
fail() { log "FAIL: $*"; FAILED=1; }
die() { log "FAIL: $*"; shot_root "failure"; exit 1; }

# check NAME ACTUAL EXPECTED
check() {
  if [ "$2" == "$3" ]; then log "ok: $1"; else fail "$1: got '$2', expected '$3'"; fi
}

probe() { wine "$PROBE" --desktop "$DESK" "$@" 2>/dev/null; }

shot_root() {
  local f="$WORK/${1}.png"
  import -window root "$f" 2>/dev/null && log "screenshot: $f"
}

# Colour of one screen pixel as RRGGBB.
pixel() {
  /usr/bin/convert-im6.q16 "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr a-f A-F
}

start_app() {
  ( cd "$APPDIR" && exec wine explorer "/desktop=$DESK,1024x768" "$APPDIR/clipboard.exe" >"$WORK/app.log" 2>&1 ) &
  APP_PID=$!
  probe --wait 20000 find >/dev/null || die "main window did not appear"
}

# The program's own process (not the desktop process, whose command line
# also names the program).
app_running() { pgrep -f "^$APPDIR/clipboard.exe" >/dev/null 2>&1; }

# Wait until the program's process is gone (after a close or session end).
wait_app_exit() {
  local i
  for i in $(seq 1 100); do
    app_running || return 0
    sleep 0.1
  done
  return 1
}

close_app() {
  probe --any close >/dev/null || true
  wait_app_exit || fail "program still running after close"
}

# Put text (or, with a second argument, a file of that MIME type) on the X
# clipboard, which Wine bridges to its own. xclip stays in the background to
# serve the selection: its output must not hold ctest's pipes open.
clip_set() {
  if [ $# -ge 2 ]; then
    xclip -selection clipboard -t "$2" -i "$1" >/dev/null 2>&1 </dev/null
  else
    printf '%s' "$1" | xclip -selection clipboard -i >/dev/null 2>&1
  fi
  sleep 0.3
}
clip_get() { xclip -selection clipboard -o 2>/dev/null </dev/null; }

# Left click at screen coordinates (the virtual desktop sits at 0,0).
click_at() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }

# Centre of a rectangle "x y w h".
centre() { echo $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 )); }

finish() {
  local rc=$?
  if [ -n "$APP_PID" ]; then
    probe --any --wait 100 close >/dev/null 2>&1 || true
    sleep 0.5
    pkill -f "^$APPDIR/clipboard.exe" >/dev/null 2>&1 || true
  fi
  if [ $rc -ne 0 ] || [ $FAILED -ne 0 ]; then
    log "$E2E_NAME: FAILED (files kept in $WORK)"
    exit 1
  fi
  rm -rf "$WORK"
  log "$E2E_NAME: passed"
  # Release the X clipboard so that no xclip stays behind serving it.
  pkill -x xclip >/dev/null 2>&1 || true
}
trap finish EXIT
