#!/usr/bin/env bash
# Times the same counting loop (an if and an assignment inside) as VexScript
# through VexRun and as VBScript through cscript, both under Wine, in
# alternating rounds, and prints the medians and their ratio: for the whole
# runs and for the loops alone (the median run of an empty program of each
# subtracted).
#
#   scripts/bench-vexscript.sh [rounds] [iterations]     (default 5 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
rounds=${1:-5}
iterations=${2:-1000000}

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target VexRun >/dev/null
runner="$root/build/win32/script/runner/VexRun.exe"

# shellcheck source=wine-env.sh
. scripts/wine-env.sh
template="$root/build/wine/template"
make_template "$template"
export WINEPREFIX="$root/build/wine/bench-vexscript"
make_build_prefix "$template" "$WINEPREFIX"
work=$(mktemp -d)
trap 'end_prefix "$WINEPREFIX"; rm -rf "$work"' EXIT
wineserver -p 2>/dev/null || true
# A first run starts Wine's services, so the timed runs do not pay for it.
timeout 120 wine cmd /c exit </dev/null >"$work/warm.log" 2>&1 || true

printf 'Var int i\r\nVar int n\r\nFunction void Main()\r\n{\r\n  i = 0\r\n  while (i < %s)\r\n  {\r\n    if (i %% 2 == 0)\r\n    {\r\n      n = n + 1\r\n    }\r\n    i++\r\n  }\r\n}\r\n' \
  "$iterations" >"$work/loop.vex"
printf 'Function void Main()\r\n{\r\n}\r\n' >"$work/empty.vex"
printf 'Dim i, n\r\ni = 0\r\nn = 0\r\nDo While i < %s\r\n  If i Mod 2 = 0 Then\r\n    n = n + 1\r\n  End If\r\n  i = i + 1\r\nLoop\r\n' \
  "$iterations" >"$work/loop.vbs"
printf 'Dim i, n\r\ni = 0\r\n' >"$work/empty.vbs"

# Milliseconds of one run; the output goes to a file (never a pipe).
run_ms() {
  local start end
  start=$(date +%s%N)
  timeout 600 wine "$@" </dev/null >"$work/run.log" 2>&1 || { cat "$work/run.log" >&2; return 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : int((a[NR/2]+a[NR/2+1])/2)}'; }

vex=() vbs=() vex0=() vbs0=()
for round in $(seq 1 "$rounds"); do
  vex+=("$(run_ms "$runner" "Z:$work/loop.vex")")
  grep -q "n (Int) = $((iterations / 2))" "$work/run.log" || { echo "VexRun gave a wrong result:" >&2; cat "$work/run.log" >&2; exit 1; }
  vbs+=("$(run_ms cscript //nologo "Z:$work/loop.vbs")")
  vex0+=("$(run_ms "$runner" "Z:$work/empty.vex")")
  vbs0+=("$(run_ms cscript //nologo "Z:$work/empty.vbs")")
  echo "round $round: VexScript ${vex[-1]} ms, VBScript ${vbs[-1]} ms (empty programs ${vex0[-1]} ms, ${vbs0[-1]} ms)"
done

mvex=$(median "${vex[@]}") mvbs=$(median "${vbs[@]}")
mvex0=$(median "${vex0[@]}") mvbs0=$(median "${vbs0[@]}")
lvex=$((mvex - mvex0)) lvbs=$((mvbs - mvbs0))
echo "== $iterations iterations, medians of $rounds rounds under Wine"
echo "whole runs:  VexScript $mvex ms, VBScript $mvbs ms, ratio $(awk "BEGIN {printf \"%.2f\", $mvex / $mvbs}")"
echo "loops alone: VexScript $lvex ms, VBScript $lvbs ms, ratio $(awk "BEGIN {printf \"%.2f\", $lvex / ($lvbs > 0 ? $lvbs : 1)}")"
