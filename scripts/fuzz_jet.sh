#!/usr/bin/env bash
# Builds the Jet reader's libFuzzer target with clang 14 (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it with the Jet sample files as seeds.
#   scripts/fuzz_jet.sh [SECONDS] [extra libFuzzer options...]
# SECONDS defaults to 600. New inputs go to build/fuzz/corpus, findings to
# build/fuzz/ (crash-*, timeout-*, oom-*). The sample files are found through
# CLIP_JET_SAMPLES, else in shared/jet beside the clone. Not part of the
# test suite; one fuzzing process at a time is plenty on a 2-core machine.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

seconds="${1:-600}"
shift || true
samples="${CLIP_JET_SAMPLES:-$(dirname "$ROOT")/shared/jet}"
dir="$BUILD/fuzz"
mkdir -p "$dir/corpus"

command -v clang++-14 >/dev/null && compgen -G "/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" \
  >/dev/null || ensure_packages
say "building the fuzzer"
clang++-14 -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT" "$ROOT"/jet/*.cpp "$ROOT/tests/jet/fuzz/jet_fuzz.cpp" -o "$dir/jet_fuzz"

seeds=()
for d in "$samples/access" "$samples/slots" "$dir/seeds"; do [ -d "$d" ] && seeds+=("$d"); done
[ ${#seeds[@]} -gt 0 ] || say "no seed files found in $samples; starting from nothing"
say "fuzzing for $seconds s"
cd "$dir"
exec ./jet_fuzz -max_total_time="$seconds" -max_len=400000 -timeout=20 -rss_limit_mb=2048 \
  -print_final_stats=1 "$@" corpus "${seeds[@]}"
