#!/usr/bin/env bash
# Measures the expression evaluator's share of a script loop (a condition,
# a right-hand side and its assignment per iteration), natively and under
# Wine, next to the time VBScript takes under Wine for the same
# 1,000,000-iteration loop (start-up subtracted). Prints the figures.
#
#   scripts/bench-expr.sh [iterations]     (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
iterations=${1:-1000000}

cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target bench_expr >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target bench_expr >/dev/null

echo "== native (optimised)"
build/bench/tests/bench/bench_expr "$iterations"

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
template="$root/build/wine/template"
make_template "$template"
export WINEPREFIX="$root/build/wine/bench"
make_build_prefix "$template" "$WINEPREFIX"
trap 'end_prefix "$WINEPREFIX"' EXIT
work=$(mktemp -d)
wineserver -p 2>/dev/null || true
# A first run starts Wine's services, so the timed runs below do not pay for it.
timeout 120 wine cmd /c exit </dev/null >"$work/warm.log" 2>&1 || true

echo "== under Wine (MinGW i686)"
timeout 300 wine "$root/build/win32/tests/bench/bench_expr.exe" "$iterations" </dev/null >"$work/bench.log" 2>&1
cat "$work/bench.log"

printf 'Dim i\r\ni = 0\r\nDo While i < %s\r\n  i = i + 1\r\nLoop\r\n' "$iterations" >"$work/loop.vbs"
printf 'Dim i\r\ni = 0\r\n' >"$work/empty.vbs"
run_vbs() {
  local start end
  start=$(date +%s%N)
  timeout 300 wine cscript //nologo "Z:$1" </dev/null >"$work/vbs.log" 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}
empty=$(run_vbs "$work/empty.vbs")
loop=$(run_vbs "$work/loop.vbs")
echo "== VBScript under Wine (cscript)"
echo "loop of $iterations: $((loop - empty)) ms (run $loop ms, start-up $empty ms)"
rm -rf "$work"
