#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [release|sanitize]
# VELMORA_WERROR=ON in the environment makes compiler warnings errors (scripts/test.sh and CI do).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-release}
case "$kind" in
  release)  dir=$root/build;          flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  sanitize) dir=$root/build-sanitize; flags=(-DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCHMARKS=OFF) ;;
  *) echo "build.sh: unknown build kind '$kind' (release or sanitize)" >&2; exit 2 ;;
esac
# ccache, when present, lets work trees of one machine share their compiled objects.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" -DVELMORA_WERROR="${VELMORA_WERROR:-OFF}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
