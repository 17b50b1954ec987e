#!/usr/bin/env bash
# Installs what is missing, builds, and starts Pictavo on the sample project.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${PICTAVO_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/samples/make-samples.sh"
"$root/scripts/build.sh"
project="$root/samples/sample.r7m"
# Without a screen the program runs on the headless display: a short script shows that the main
# window came up (a snapshot) and closes it.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${PICTAVO_SCRIPT:-}" ]; then
  export PICTAVO_DISPLAY=${PICTAVO_DISPLAY:-headless}
  script="$build/run-headless.txt"
  printf 'wait-window "Talvane Pictavo"\nwait-gone Splash\nsnapshot "%s" "Talvane Pictavo"\ncommand 32791\n' \
    "$build/pictavo-main.png" >"$script"
  export PICTAVO_SCRIPT="$script"
  echo "No display: running headless; the main window is saved as $build/pictavo-main.png"
fi
if [ -f "$project" ]; then
  exec "$build/bin/pictavo" "$project" "$@"
fi
exec "$build/bin/pictavo" "$@"
