#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for a bounded time each, from its seed
# corpus; any crash, leak or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
found=0
for target in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  seeds="tests/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=0 "$work" >"$work.log" 2>&1 || { tail -50 "$work.log"; rm -rf "$work"; exit 1; }
  tail -1 "$work.log"
  rm -rf "$work" "$work.log"
done
[ $found -eq 1 ] || echo "(no fuzz targets built)"
