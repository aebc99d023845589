#!/usr/bin/env bash
# Load time and peak memory of the install record reader for records of
# 10,000, 100,000 and 1,000,000 "[CopyFile]" items (eight lines each, as the
# installer writes them). Native, optimised build; each load runs in a fresh
# process, best of three runs.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench --target bench_record -j2 >/dev/null
bench=build/bench/tests/bench/bench_record
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%10s %12s %10s %14s %12s\n' items file_mb load_ms peak_rss_mb time_ratio
previous=""
for items in 10000 100000 1000000; do
  record="$work/Setup_$items.qsf"
  "$bench" generate "$items" "$record"
  best="" best_line=""
  for run in 1 2 3; do
    line=$("$bench" load "$record")
    ms=$(sed -n 's/.*load_ms=\([0-9.]*\).*/\1/p' <<<"$line")
    if [ -z "$best" ] || awk -v a="$ms" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$ms; best_line=$line; fi
  done
  rss=$(sed -n 's/.*peak_rss_mb=\([0-9.]*\).*/\1/p' <<<"$best_line")
  size=$(awk -v b="$(stat -c %s "$record")" 'BEGIN{printf "%.1f", b/1048576}')
  ratio="-"
  [ -n "$previous" ] && ratio=$(awk -v a="$best" -v b="$previous" 'BEGIN{printf "%.2f", a/b}')
  printf '%10s %12s %10s %14s %12s\n' "$items" "$size" "$best" "$rss" "$ratio"
  previous=$best
  rm -f "$record"
done
