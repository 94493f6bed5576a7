#!/usr/bin/env bash
# Compiles the program (not the tests) and the Jet reader for 32-bit Windows,
# warnings as errors, so that nothing in them assumes 64-bit pointers. Nothing
# is run.
#   scripts/portable_build.sh gcc    the i686 mingw-w64 GCC, linked to clipboard.exe
#   scripts/portable_build.sh clang  Debian's clang for the same target, compile only
# Each has its own build tree under the build folder; later runs are incremental.
# Everything is compiled without optimisation and as a unity build (a few
# sources per compiler run): the warnings that tell of a pointer-size
# assumption (casts, conversions, formats) come from the front end, and the
# Windows headers are then read a few times instead of once per source. The
# 64-bit build compiles every source alone, which keeps each one's includes
# complete.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

case "${1:-}" in
  gcc)   toolchain=mingw-w64-i686 ;;
  clang) toolchain=clang-mingw-w64-i686 ;;
  *)     echo "usage: $0 gcc|clang" >&2; exit 2 ;;
esac
dir="$BUILD/i686-$1"
log="$dir.log"
mkdir -p "$dir"
{
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE=-O0 -DCMAKE_CXX_FLAGS_RELEASE=-O0 \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain.cmake" -DCMAKE_UNITY_BUILD=ON \
    -DCLIP_BUILD_TESTS=OFF -DCLIP_BUILD_BENCHMARKS=OFF \
    -DSQLITE_SOURCE_DIR="${CLIP_SQLITE_DIR:-$BUILD/_deps/sqlite-$SQLITE_VERSION}"
  if [ "$1" = gcc ]; then
    cmake --build "$dir" --target clipboard jet
  else
    cmake --build "$dir" --target app_core jet && make -C "$dir/app" main.cpp.obj
  fi
} >"$log" 2>&1 || { tail -n 40 "$log" >&2; say "32-bit $1 build failed (log: $log)"; exit 1; }
say "32-bit $1 build clean"
