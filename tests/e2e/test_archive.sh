#!/usr/bin/env bash
# The release archive holds the program, the README and the licence and
# nothing else; unpacked into an empty folder the program starts from there
# with its window and keeps its files beside itself.
source "$(dirname "$0")/lib.sh"
: "${CLIP_ARCHIVE:?run through ctest}"

check "archive holds" "$(unzip -Z1 "$CLIP_ARCHIVE" | LC_ALL=C sort | xargs)" "LICENSE README.md clipboard.exe"
rm -rf "$APPDIR" && mkdir "$APPDIR" && unzip -q "$CLIP_ARCHIVE" -d "$APPDIR"
start_app
check "caption" "$(probe title)" "$TITLE"
close_app
check "files written beside it" "$(cd "$APPDIR" && ls Config.ini data.mdb 2>&1 | xargs)" "Config.ini data.mdb"
