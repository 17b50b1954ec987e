#!/usr/bin/env bash
# Runs one fuzz target of a PICTAVO_FUZZ build for a while:
#   fuzz/run.sh BUILD_DIR TARGET SECONDS [libFuzzer options...]
# The working corpus starts from the seeds and grows in BUILD_DIR/fuzz-work/TARGET/corpus; a
# crash, leak or timeout is written to BUILD_DIR/fuzz-work/TARGET/ as crash-*, leak-*, timeout-*.
set -euo pipefail
build=$1 target=$2 seconds=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
work=$build/fuzz-work/$target
mkdir -p "$work/corpus"
cp -n "$here/corpus/$target"/* "$work/corpus/" 2>/dev/null || true
exec "$build/fuzz/$target" "$work/corpus" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$work/" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -close_fd_mask=3 "$@"
