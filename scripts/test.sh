#!/usr/bin/env bash
# Builds the project with warnings as errors and runs the whole test suite.
# Usage: scripts/test.sh [release|sanitize]; arguments after it go to ctest (-LE end-to-end, -R ...).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
shift || true
VELMORA_WERROR=ON "$root/scripts/build.sh" "$kind"
dir=$root/build
[ "$kind" = sanitize ] && dir=$root/build-sanitize
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "$@"
