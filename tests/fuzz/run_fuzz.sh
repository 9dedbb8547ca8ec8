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

# Comparisons are traced (so that mutations find the bytes that the reader
# looks for, such as a separator line) in the row reader and the decoder
# only: the column finder and the harness compare the row with itself, and
# tracing them, or the rest of the library, would only slow every input down.
flags=(-std=c++20 -g -O2 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$root/support")
objs=()
for src in "$root"/support/*.cpp "$here/readcv_fuzz.cpp"; do
  obj="$out/$(basename "$src" .cpp).o"
  case "$src" in
    */readcv.cpp | */decoder.cpp) clang++ "${flags[@]}" -c "$src" -o "$obj" ;;
    *) clang++ "${flags[@]}" -fno-sanitize-coverage=trace-cmp -c "$src" -o "$obj" ;;
  esac
  objs+=("$obj")
done
clang++ "${flags[@]}" "${objs[@]}" -o "$out/readcv_fuzz"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$here"/corpus/* "$work/corpus/"
# Inputs up to 1 KiB: the buffer limits that the options choose (1 to 48
# bytes) are reached well within that, and shorter inputs run faster.
"$out/readcv_fuzz" -max_total_time="$secs" -max_len=1024 -timeout=20 \
  -artifact_prefix="$out/" -print_final_stats=1 "$@" "$work/corpus"
