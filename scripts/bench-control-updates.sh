#!/usr/bin/env bash
# Benchmark (not a test): what per-item status and progress updates cost in
# the progress dialog's template under Wine, bare, pushed per item, and paced.
#
#   scripts/bench-control-updates.sh [items] [rounds]   (default 20000 5)
#
# Wine settings pinned in the benchmark's own prefix: classic theme
# (ThemeActive=0; the default theme makes each progress step far dearer) and
# unmanaged windows (X11 Driver Managed=N; no window manager runs on Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
items=${1:-20000}
rounds=${2:-5}

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target bench_control_updates >/dev/null
# shellcheck source=wine-env.sh
. scripts/wine-env.sh
template="$root/build/wine/template"
make_template "$template"
export WINEPREFIX="$root/build/wine/bench-updates"
make_build_prefix "$template" "$WINEPREFIX"
start_xvfb
trap 'end_prefix "$WINEPREFIX"; stop_xvfb' EXIT
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /t REG_SZ /d 0 /f \
  </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
out="$root/build/wine/bench-updates.txt"
timeout 900 wine build/win32/tests/win32/bench_control_updates.exe "$items" "$rounds" </dev/null >"$out" 2>&1
cat "$out"
