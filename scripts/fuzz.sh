#!/usr/bin/env bash
# Builds the libFuzzer targets with Debian's clang into build-fuzz/ and runs each for a bounded time on
# a copy of its seed corpus. Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir=$root/build-fuzz
# Each target with the folder of its seed corpus.
targets=(markup_fuzz:controls/html/fuzz/corpus rtf_fuzz:platform/edits/fuzz/corpus
         zip_fuzz:platform/office/fuzz/zip sheet_fuzz:platform/office/fuzz/sheet)
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON \
  -DVELMORA_BENCHMARKS=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]%%:*}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for entry in "${targets[@]}"; do
  target=${entry%%:*}
  rm -rf "${work:?}"/*
  cp "$root/${entry#*:}"/* "$work"/
  echo "fuzz: $target for $seconds s"
  # A crash, a report or an input that runs longer than 10 s fails the run; findings go to build-fuzz/.
  "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 -max_len=4096 -rss_limit_mb=2048 \
    -artifact_prefix="$root/build-fuzz/$target-" -print_final_stats=1 "$work"
done
