#!/usr/bin/env bash
# Builds what needs no Windows with the host compiler, warnings as errors, in
# the build folder's native/ tree: the Jet reader, its tests and jet_dump
# (build/native/jet_dump). Then runs those tests; fails when any fails. Later
# runs are incremental. Compiled without optimisation: the 64-bit Windows
# build compiles the same reader optimised, with the optimiser's warnings.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

dir="$BUILD/native"
log="$dir.log"
mkdir -p "$dir"
{
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT/native" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O0
  fi
  cmake --build "$dir" -j 2
} >"$log" 2>&1 || { tail -n 40 "$log" >&2; say "native build failed (log: $log)"; exit 1; }
say "native build clean"
cd "$dir"
ctest --output-on-failure
