# Helpers for the hotkey and tray scripts, on top of lib.sh: the test editor
# (a Wine window to paste into, which can hold a hotkey), key presses while it
# has the focus, the X clipboard. Sourced after lib.sh.
EDITOR_EXE="$CLIP_BINARY_DIR/tests/e2e/test_editor.exe"
EDITOR_PID=""

# start_editor [--hold-alt D]
start_editor() {
  ( cd "$WORK" && exec wine explorer "/desktop=$DESK,1024x768" "$EDITOR_EXE" "$@" >"$WORK/editor.log" 2>&1 ) &
  EDITOR_PID=$!
  probe --wait 20000 editorrect >/dev/null || die "test editor did not appear"
}

close_editor() {
  [ -n "$EDITOR_PID" ] || return 0
  probe --wait 100 editorclose >/dev/null 2>&1 || true
  wait "$EDITOR_PID" 2>/dev/null || true
  EDITOR_PID=""
}

# Gives the editor the focus (keys reach Wine only through a focused window).
focus_editor() {
  local x y
  read -r x y <<<"$(centre $(probe editorrect))"
  click_at "$x" "$y"
}

# Empties the editor's box and gives it the focus.
clear_editor() {
  probe editorclear >/dev/null
  focus_editor
}

# key COMBO...: presses keys (xdotool names, e.g. alt+3) and lets them settle.
key() { xdotool key --delay 80 "$@"; sleep 0.8; }

# eventually EXPECTED COMMAND...: the command's output once it equals EXPECTED,
# or its last output after about 3 s (a key press is handled a moment later).
eventually() {
  local want="$1" got="" i
  shift
  for i in $(seq 1 15); do
    got="$("$@" 2>/dev/null || true)"
    [ "$got" == "$want" ] && break
    sleep 0.2
  done
  printf '%s' "$got"
}

set_clipboard() { printf '%s' "$1" | xclip -selection clipboard -i; sleep 0.3; }

set_clipboard_image() {
  /usr/bin/convert-im6.q16 -size 8x8 xc:red "$WORK/red.png"
  xclip -selection clipboard -t image/png -i "$WORK/red.png"
  sleep 0.3
}

# The clipboard as programs inside Wine see it ("<empty>" when empty).
wine_clipboard() { probe clipboard; }

# The app's tooltip for slot N after resting the pointer on it (a click on
# the slot first: tooltips show in the active program).
slot_tip() {
  local x y
  read -r x y <<<"$(centre $(probe slotrect "$1"))"
  click_at "$x" "$y"
  xdotool mousemove 600 600; sleep 0.3
  xdotool mousemove "$x" "$y"; sleep 1.5
  probe tip
}

hotkey_finish() {
  local rc=$?
  close_editor
  (exit $rc)
  finish
}
trap hotkey_finish EXIT
