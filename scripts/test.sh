#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole test suite under Wine on
# a private X server. Extra arguments go to ctest (for example -R Ini).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_tools

XVFB_PID="" E2E_XVFB_PID="" PREFIX_PID=""
E2E_PREFIX="$BUILD/wineprefix-e2e"
cleanup() {
  [ -n "$PREFIX_PID" ] && kill "$PREFIX_PID" >/dev/null 2>&1 || true
  wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$E2E_PREFIX" wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# The end-to-end runs get a display and a Wine session of their own, so that
# they run beside the unit tests.
start_xvfb
E2E_XVFB_PID="$XVFB_PID" CLIP_E2E_DISPLAY="$DISPLAY"
start_xvfb
export CLIP_E2E_DISPLAY
# Wine sets its prefix up (the first time, most of a minute, much of it
# waiting) while the compilers work.
ensure_prefix >"$BUILD/prefix.log" 2>&1 &
PREFIX_PID=$!
build_status=0
configure_and_build || build_status=$?
prefix_status=0
wait "$PREFIX_PID" || prefix_status=$?
PREFIX_PID=""
[ "$build_status" -eq 0 ] || exit "$build_status"
[ "$prefix_status" -eq 0 ] || { cat "$BUILD/prefix.log" >&2; say "the Wine prefix could not be set up"; exit 1; }
grep '^==>' "$BUILD/prefix.log" >&2 || true
copy_prefix "$E2E_PREFIX"
# Keep a wineserver and Wine's own services warm for every test process, in
# both sessions. The services are started here with /dev/null as their
# output, so that they do not hold ctest's pipes open.
# Each session's services run on its own display: Wine's clipboard bridge
# lives in them, and two sessions bridged to one display share a clipboard.
warm_session() {
  DISPLAY="$2" WINEPREFIX="$1" wineserver -p >/dev/null 2>&1 || true
  DISPLAY="$2" WINEPREFIX="$1" set_window_manager none
}
warm_session "$WINEPREFIX" "$DISPLAY"
warm_session "$E2E_PREFIX" "$CLIP_E2E_DISPLAY"

find_jet_samples
cd "$BUILD"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
