#!/usr/bin/env bash
# Builds the project and runs the Velmora service in the foreground on a default host list.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ ! -x "$root/build/bin/velmora" ]; then
  echo "run.sh: the Velmora service is not built yet; the project holds its platform library so far." >&2
  exit 1
fi
