#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the whole test suite under Wine on
# a private X server. Extra arguments go to ctest (for example -R Ini).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

setup_all

XVFB_PID=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}
trap cleanup EXIT

start_xvfb
ensure_prefix
# Keep one wineserver and Wine's own services warm for every test process.
# The services are started here with /dev/null as their output, so that they
# do not hold ctest's pipes open.
wineserver -p >/dev/null 2>&1 || true
set_window_manager none

cd "$BUILD"
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" "$@"
