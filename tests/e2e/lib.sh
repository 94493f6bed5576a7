# Helpers for the end-to-end scripts: a private copy of the program in its own
# folder, started inside the Wine virtual desktop "shell" (it has a task bar),
# read through probe.exe; a test editor to type and paste into. Every step
# waits for its effect with a bounded poll. Sourced by test_*.sh.
set -euo pipefail

: "${CLIP_EXE:?run through ctest}"
: "${CLIP_BINARY_DIR:?run through ctest}"
# The display of the end-to-end runs, apart from the unit tests'.
export DISPLAY="${CLIP_E2E_DISPLAY:-$DISPLAY}"
BIN="$CLIP_BINARY_DIR/tests/e2e"
TITLE="朔禾剪贴板 V1.3"
WORK="$(mktemp -d "$BIN/$(basename "$0" .sh).XXXXXX")"
APPDIR="$WORK/app"
mkdir -p "$APPDIR"
cp "$CLIP_EXE" "$APPDIR/clipboard.exe"
FAILED=0

log() { printf '%s\n' "$*" >&2; }
fail() { log "FAIL: $*"; FAILED=1; }
die() { fail "$*"; exit 1; }
# A probe that hangs (a window that stopped answering) fails instead of holding the run.
probe() { timeout 60 wine "$BIN/probe.exe" "$@" 2>/dev/null; }

# check NAME GOT WANT
check() { if [ "$2" == "$3" ]; then log "ok: $1"; else fail "$1: got '$2', expected '$3'"; fi; }

# poll WANT CMD...: true once CMD prints WANT, false after 30 s (POLL_SECONDS).
poll() {
  local want="$1" end=$((SECONDS + ${POLL_SECONDS:-30}))
  shift
  while :; do
    POLLED="$("$@" 2>/dev/null || true)"
    [ "$POLLED" == "$want" ] && return 0
    [ $SECONDS -lt $end ] || return 1
    sleep 0.1
  done
}

# expect NAME WANT CMD...: CMD comes to print WANT.
expect() {
  local name="$1" want="$2"
  shift 2
  if poll "$want" "$@"; then log "ok: $name"; else fail "$name: got '$POLLED', expected '$want' ($(scene))"; fi
}
# What the desktop shows, for a failure's message.
scene() { printf 'foreground %s, focus %s, note %s' "$(probe foreground)" "$(probe focus)" "$(probe notice)" | tr '\n' ' '; }

# holds NAME WANT CMD...: CMD keeps printing WANT for a second (nothing happens).
holds() {
  local name="$1" want="$2" end=$((SECONDS + 2)) got
  shift 2
  while [ $SECONDS -lt $end ]; do
    got="$("$@" 2>/dev/null || true)"
    [ "$got" == "$want" ] || { fail "$name: got '$got', expected '$want'"; return; }
  done
  log "ok: $name"
}

# A Wine virtual desktop closes a second after the last program in it has
# ended, and a program started into it meanwhile never gets a window. While
# none of the programs these tests start runs, a start first waits for the old
# desktop to be gone.
DESKTOP_PROGRAMS='^([^ ]*[/\\])?(clipboard[^ /\\]*|test_editor|notepad|wordpad|wineboot)\.exe( |$)'
# ours PGREP-ARGS...: true when a process of this Wine prefix matches.
ours() {
  local pid
  for pid in $(pgrep "$@" 2>/dev/null); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
desktop_ready() {
  if ours -if "$DESKTOP_PROGRAMS" || ! ours -f 'explorer\.exe /desktop=shell'; then
    echo yes
  else
    echo no
  fi
}

# in_desktop DIR PROGRAM ARGS...: starts a Windows program in the desktop.
in_desktop() {
  local dir="$1"
  shift
  poll yes desktop_ready || log "note: the last desktop did not close"
  ( cd "$dir" && exec wine explorer "/desktop=shell,1024x768" "$@" >>"$WORK/wine.log" 2>&1 </dev/null ) &
}

# start_app [DIR]: starts DIR's (the app folder's) copy and waits for its window;
# when none comes, tells what shows instead.
start_app() {
  local dir="${1:-$APPDIR}"
  in_desktop "$dir" "$dir/clipboard.exe"
  probe --wait 40000 title >/dev/null ||
    die "main window did not appear ($(probe --wait 0 errorbox | tr '\n' ' ')$(pgrep -fc "^$dir/") running)"
}

# gone PATTERN: true once no process's command line starts with PATTERN.
running() { pgrep -f "^$1" >/dev/null 2>&1 && echo yes || echo no; }
gone() { poll no running "$1"; }

# close_app [DIR]: closes the program and waits for DIR's (the app folder's) copy to end.
close_app() {
  probe --any close >/dev/null || true
  gone "${1:-$APPDIR}/" || fail "program still running after close"
}
no_box() { probe --wait 0 errorbox >/dev/null && echo "a message" || echo none; }

# The X clipboard, which Wine bridges to its own; xclip stays in the background
# to serve it. Returns once programs inside Wine see the new content.
# Wine may still be announcing a clipboard change of its own to X and take the
# selection back: then the text is offered again.
# clip_offer WANT XCLIP-ARGS...: offers $WORK/clip until Wine's clipboard reads WANT.
clip_offer() {
  local want="$1" try
  shift
  for try in 1 2 3; do
    xclip -selection clipboard "$@" -i "$WORK/clip" >/dev/null 2>&1 </dev/null
    POLL_SECONDS=5 poll "$want" probe clipboard && return 0
  done
  fail "clipboard did not take '$want' ($POLLED)"
}
clip_set() { printf '%s' "$1" >"$WORK/clip" && clip_offer "$1"; }
clip_image() { convert -size 8x8 xc:red "png:$WORK/clip" && clip_offer "<no text>" -t image/png; }

centre() { read -r x y w h <<<"$1"; echo "$((x + w / 2)) $((y + h / 2))"; }
click() { xdotool mousemove $(centre "$1") click 1; }
# point_at X Y: moves the pointer and returns once Wine has seen it there.
point_at() { xdotool mousemove "$1" "$2"; poll "$1 $2" probe cursor || fail "pointer not at $1 $2"; }

# type_into N TEXT: clicks slot N and types TEXT at its end.
type_into() {
  click "$(probe slotrect "$1")"
  poll "slot $1" probe focus || fail "slot $1 took no focus ($POLLED)"
  xdotool type --delay 20 "$2"
}

# The test editor, a Wine window that takes pastes (and can hold a hotkey).
start_editor() {
  in_desktop "$WORK" "$BIN/test_editor.exe" "$@"
  EDITOR_RECT="$(probe --wait 20000 editor rect)" || die "test editor did not appear"
}
focus_editor() {
  probe editor clear >/dev/null
  click "$EDITOR_RECT"
  poll editor probe focus || fail "editor took no focus ($POLLED)"
}

finish() {
  local rc=$?
  probe --any --wait 100 close >/dev/null 2>&1 || true
  probe --wait 100 editor close >/dev/null 2>&1 || true
  local p
  pkill -f "^$BIN/test_editor.exe reader" >/dev/null 2>&1 || true
  for p in "$WORK/" "$BIN/test_editor"; do gone "$p" || pkill -f "^$p" >/dev/null 2>&1 || true; done
  pkill -f "^xclip .*$WORK/clip" >/dev/null 2>&1 || true
  if [ $rc -ne 0 ] || [ $FAILED -ne 0 ]; then
    import -window root "$WORK/failure.png" >/dev/null 2>&1 || true
    log "FAILED (files kept in $WORK)"
    exit 1
  fi
  rm -rf "$WORK"
  log "passed"
}
# A run ended by a time-out leaves its programs behind in the session: they
# would take the focus and the clipboard of this one.
if ours -if "$DESKTOP_PROGRAMS"; then
  log "note: programs of an earlier run still running, ended"
  wineserver -k >/dev/null 2>&1 || true
fi
trap finish EXIT
