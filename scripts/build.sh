#!/usr/bin/env bash
# Configures and builds Pictavo in build/ (Ninja, ccache when present).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PICTAVO_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)"
