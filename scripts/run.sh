#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pictavo on the sample project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PICTAVO_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/samples/make-samples.sh"
"$root/scripts/build.sh"
project="$root/samples/sample.r7m"
if [ -f "$project" ]; then
  exec "$build/bin/pictavo" "$project" "$@"
fi
exec "$build/bin/pictavo" "$@"
