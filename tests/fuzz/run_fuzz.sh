#!/usr/bin/env bash
# Builds the fuzz target of the CSV row reader and column finder with clang++
# and libFuzzer (not part of the CMake build) and runs it for the given number
# of seconds on a scratch copy of the seed corpus, so the run leaves the
# repository as it was.  A failing input is kept in build-fuzz/ (crash-*):
# add it to tests/fuzz/corpus/ once the fault is mended.
#
#   tests/fuzz/run_fuzz.sh SECONDS [more libFuzzer options]
set -euo pipefail
secs="${1:-60}"
shift || true
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/build-fuzz"
mkdir -p "$out"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/support" "$root"/support/*.cpp "$here/readcv_fuzz.cpp" -o "$out/readcv_fuzz"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$here"/corpus/* "$work/corpus/"
"$out/readcv_fuzz" -max_total_time="$secs" -max_len=4096 -timeout=20 \
  -artifact_prefix="$out/" -print_final_stats=1 "$@" "$work/corpus"
