#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark program (build/bin/*_bench). Extra
# arguments go to each program (for example --benchmark_repetitions=5). The X11 benchmarks run under Xvfb
# unless DISPLAY names a server.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" release
for program in "$root"/build/bin/*_bench; do
  echo "== $(basename "$program")"
  if [[ $(basename "$program") =~ ^(x11_|controls_) && -z "${DISPLAY:-}" ]]; then
    # The X11 benchmarks need a server: one of their own, on a free display number.
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$program" "$@"
  else
    "$program" "$@"
  fi
done
