#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark program. Extra arguments go to each
# program (for example --benchmark_repetitions=5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" release
for program in ini_bench; do
  "$root/build/bin/$program" "$@"
done
