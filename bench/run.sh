#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark program (build/bin/*_bench). Extra
# arguments go to each program (for example --benchmark_repetitions=5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" release
for program in "$root"/build/bin/*_bench; do
  echo "== $(basename "$program")"
  "$program" "$@"
done
