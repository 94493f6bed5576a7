#!/usr/bin/env bash
# Sets up what is missing, builds the program in the release configuration and
# packs build/clipboard-<version>-win64.zip: clipboard.exe, README.md, LICENSE.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ensure_packages
mkdir -p "$BUILD"
ensure_sqlite
configure_and_build release_archive
archive="$(sed -n 's/^CLIP_RELEASE_ARCHIVE:INTERNAL=//p' "$BUILD/CMakeCache.txt")"
[ -f "$archive" ] || { say "no archive at '$archive'"; exit 1; }
unzip -l "$archive" >&2
say "release archive: $archive ($(stat -c %s "$archive") bytes)"
