#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PICTAVO_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/samples/make-samples.sh"
"$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
